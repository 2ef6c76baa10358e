"""The bed's late echoes, in a namespace whose kernel answers none: each argument ADDRESS=SECONDS answers the echo
requests to ADDRESS after SECONDS, from ADDRESS. Other addresses get no answer."""
import select
import socket
import sys
import threading
import time

delays = {}
for argument in sys.argv[1:]:
    address, seconds = argument.split("=")
    icmp = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)
    icmp.bind((address, 0))  # a bound raw socket sees only what is sent to its address, and answers from it
    delays[icmp] = float(seconds)
deadline = time.monotonic() + 240  # its test ends it; this, should the test not
while time.monotonic() < deadline:
    for icmp in select.select(list(delays), [], [], 1)[0]:
        packet, (source, _) = icmp.recvfrom(65535)
        start = (packet[0] & 15) * 4  # the IP header's length
        if packet[start] == 8:  # an echo request: the reply differs in its type, 0, and so its checksum by 0x0800
            checksum = int.from_bytes(packet[start + 2:start + 4], "big") + 0x0800
            reply = b"\0\0" + ((checksum & 0xFFFF) + (checksum >> 16)).to_bytes(2, "big") + packet[start + 4:]
            threading.Timer(delays[icmp], icmp.sendto, (reply, (source, 0))).start()
