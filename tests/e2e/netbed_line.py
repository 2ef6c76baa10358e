"""The bed's line delay, a frame bridge: every frame that arrives on one of two interfaces leaves by the other
SECONDS later, in order. Run as netbed_line.py IF_A IF_B SECONDS in the namespace that holds both."""
import collections
import select
import socket
import sys
import time

PACKET_OUTGOING = 4  # what the bridge sends itself, seen again on the way out

first, second, delay = sys.argv[1], sys.argv[2], float(sys.argv[3])
links = {}
for name in (first, second):
    link = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.htons(3))  # ETH_P_ALL
    link.bind((name, 0))
    link.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4 << 20)
    links[name] = link
other = {links[first]: links[second], links[second]: links[first]}
waiting = collections.deque()  # (due, link out, frame): one delay for all, so they leave in the order they came
deadline = time.monotonic() + 600  # its test ends it; this, should the test not
while time.monotonic() < deadline:
    now = time.monotonic()
    while waiting and waiting[0][0] <= now:
        _, out, frame = waiting.popleft()
        out.send(frame)
    timeout = max(0.0, waiting[0][0] - now) if waiting else 1.0
    for link in select.select(list(other), [], [], timeout)[0]:
        frame, address = link.recvfrom(65535)
        if address[2] != PACKET_OUTGOING:
            waiting.append((time.monotonic() + delay, other[link], frame))
