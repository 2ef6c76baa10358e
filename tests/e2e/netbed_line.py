"""The bed's line delay, a frame bridge: every frame that arrives on one of two interfaces leaves by the other
SECONDS later, in order. Run as netbed_line.py IF_A IF_B SECONDS in the namespace that holds both."""
import collections
import select
import socket
import sys
import time

PACKET_OUTGOING = 4  # what the bridge sends itself, seen again on the way out

links = [socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.htons(3)) for _ in range(2)]  # ETH_P_ALL
for link, name in zip(links, sys.argv[1:3]):
    link.bind((name, 0))
    link.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4 << 20)
delay = float(sys.argv[3])
waiting = collections.deque()  # (due, link out, frame): one delay for all, so they leave in the order they came
deadline = time.monotonic() + 600  # its test ends it; this, should the test not
while time.monotonic() < deadline:
    while waiting and waiting[0][0] <= time.monotonic():
        _, out, frame = waiting.popleft()
        out.send(frame)
    for link in select.select(links, [], [], max(0.0, waiting[0][0] - time.monotonic()) if waiting else 1.0)[0]:
        frame, address = link.recvfrom(65535)
        if address[2] != PACKET_OUTGOING:
            waiting.append((time.monotonic() + delay, links[1 - links.index(link)], frame))
