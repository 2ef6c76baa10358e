"""test_find_mtu's late server, in a namespace whose kernel answers no echoes: answers echo requests after
sys.argv[1] seconds."""
import socket
import sys
import threading

icmp = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)
icmp.settimeout(1)
for _ in range(120):  # two minutes at most
    try:
        packet, (source, port) = icmp.recvfrom(65535)
    except socket.timeout:
        continue
    start = (packet[0] & 15) * 4  # the IP header's length
    if packet[start] == 8:  # an echo request: the reply differs in its type, 0, and so its checksum by 0x0800
        checksum = int.from_bytes(packet[start + 2:start + 4], "big") + 0x0800
        reply = b"\0\0" + ((checksum & 0xFFFF) + (checksum >> 16)).to_bytes(2, "big") + packet[start + 4:]
        threading.Timer(float(sys.argv[1]), icmp.sendto, (reply, (source, 0))).start()
