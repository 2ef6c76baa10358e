"""A bed of network namespaces (root, iproute2): client (9000 link), router, server (the link under test). A script
builds it when started plainly and runs again inside the client's, in a prefix whose wineserver, which places Wine's
echoes, runs there too."""
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import zve2e

TAG = os.environ.get("ZV_NET_BED", "zvbed%d" % os.getpid())
CLIENT, ROUTER, SERVER = TAG + "c", TAG + "r", TAG + "s"
BED = """netns add {c}|netns add {r}|netns add {s}|-n {c} link set lo up|-n {r} link set lo up|-n {s} link set lo up
-n {c} link add c0 mtu 9000 type veth peer name r0 netns {r}|-n {r} link set r0 mtu 9000
-n {r} link add r1 type veth peer name s0 netns {s}
-n {c} addr add 198.18.0.1/24 dev c0|-n {r} addr add 198.18.0.2/24 dev r0
-n {r} addr add 198.18.1.1/24 dev r1|-n {s} addr add 198.18.1.2/24 dev s0
-n {c} link set c0 up|-n {r} link set r0 up|-n {r} link set r1 up|-n {s} link set s0 up
-n {c} route add 198.18.0.0/15 via 198.18.0.2|-n {s} route add 198.18.0.0/15 via 198.18.1.1
netns exec {r} sysctl -qw net.ipv4.ip_forward=1|netns exec {r} sysctl -qw net.ipv4.icmp_ratelimit=0
netns exec {c} sysctl -qw net.ipv4.route.mtu_expires=0|-n {r} route add blackhole 198.18.2.53""".format(c=CLIENT, r=ROUTER, s=SERVER)
# The line: the server's link anew, through a frame bridge in the router from l1 to l2, which a user-space delay needs
# (the router's own addresses are not answered for there, or the server would send to l2 past the delay); no
# segmentation, receive merging or checksum offload on the way, or the bridge passes frames the client drops; a
# queue of 300 ms, enough to keep the line busy while TCP probes for more.
LINE = """-n {r} link del r1|-n {r} link add r1 type veth peer name l1
-n {r} link add l2 type veth peer name s0 netns {s}|-n {r} link set l1 up arp off|-n {r} link set l2 up arp off
-n {r} addr add 198.18.1.1/24 dev r1|-n {r} link set r1 up
-n {s} addr add 198.18.1.2/24 dev s0|-n {s} link set s0 up|-n {s} route add 198.18.0.0/15 via 198.18.1.1
netns exec {c} ethtool -K c0 {off}|netns exec {r} ethtool -K r0 {off}|netns exec {r} ethtool -K r1 {off}
netns exec {r} ethtool -K l1 {off}|netns exec {r} ethtool -K l2 {off}|netns exec {s} ethtool -K s0 {off}
netns exec {r} tc qdisc add dev r0 root tbf rate {kbits}kbit burst 4000 latency 300ms"""
RESOLVER = "nameserver 198.18.2.53\noptions timeout:6 attempts:1\n"  # the router drops its queries: lookups hang
HERE = os.path.dirname(os.path.abspath(__file__))
ECHO_SERVER = os.path.join(HERE, "netbed_echo.py")


def ip(line, check=True):
    subprocess.run(["ip", *line.split()], check=check, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)


@contextlib.contextmanager
def late_echoes(delays):
    """The server's echo replies from user space: {address: seconds}; the kernel's, and other addresses', none."""
    ip("netns exec %s sysctl -qw net.ipv4.icmp_echo_ignore_all=1" % SERVER)
    server = subprocess.Popen(["ip", "netns", "exec", SERVER, sys.executable, ECHO_SERVER,
                               *("%s=%s" % delay for delay in delays.items())])
    try:
        yield
    finally:
        server.kill()
        server.wait()
        ip("netns exec %s sysctl -qw net.ipv4.icmp_echo_ignore_all=0" % SERVER)


@contextlib.contextmanager
def line(kbits, round_trip_ms):
    """For the rest of the script, the line from server to client at kbits kbit/s (the router's tbf towards the
    client) with round_trip_ms added (half each way, in the bridge); addresses added to the server's link go."""
    off = "tso off gso off gro off tx off rx off"
    for step in LINE.format(c=CLIENT, r=ROUTER, s=SERVER, off=off, kbits=kbits).replace("\n", "|").split("|"):
        ip(step)
    bridge = subprocess.Popen(["ip", "netns", "exec", ROUTER, sys.executable, os.path.join(HERE, "netbed_line.py"),
                               "l1", "l2", str(round_trip_ms / 2000)])
    try:
        yield
    finally:
        bridge.kill()
        bridge.wait()


@contextlib.contextmanager
def files(window=0):
    """The server's files on http://198.18.1.2/: /N is N bytes, any other path 404; with a window, no more than that
    many bytes of an answer in flight."""
    server = subprocess.Popen(["ip", "netns", "exec", SERVER, sys.executable, os.path.join(HERE, "netbed_http.py"),
                               "198.18.1.2", "80", str(window)])
    try:
        zve2e.wait_until(lambda: subprocess.run(["ip", "netns", "exec", SERVER, "ss", "-Htln", "sport = :80"],
                                                capture_output=True, text=True).stdout != "", 10)
        yield "http://198.18.1.2/"
    finally:
        server.kill()
        server.wait()


def outside(script):
    name = os.path.basename(script)
    if os.geteuid() != 0 or shutil.which("ip") is None:
        sys.exit("%s: needs root and iproute2's ip to build its network namespaces" % name)
    wine_prefix = os.path.join(zve2e.SCRIPTS, "wine-prefix")
    prefix = tempfile.mkdtemp(prefix="bed-prefix-", dir=os.path.dirname(zve2e.PREFIX))
    env = dict(os.environ, ZV_E2E_PREFIX=prefix, ZV_NET_BED=TAG)
    inside = ["ip", "netns", "exec", CLIENT]
    etc = "/etc/netns/" + CLIENT  # ip netns exec puts its files in place of /etc's
    try:
        os.makedirs(etc)
        with open(etc + "/resolv.conf", "w") as resolver:
            resolver.write(RESOLVER)
        for line in BED.replace("\n", "|").split("|"):
            ip(line)
        subprocess.run(inside + [wine_prefix, "clone", prefix, os.environ["ZV_E2E_TEMPLATE"]], check=True, timeout=120)
        return subprocess.run(inside + [sys.executable, script], env=env).returncode
    finally:
        subprocess.run(inside + [wine_prefix, "stop", prefix], timeout=60)
        for namespace in (CLIENT, ROUTER, SERVER):
            ip("netns del " + namespace, check=False)
        shutil.rmtree(etc, ignore_errors=True)
        subprocess.run(["rmdir", "--ignore-fail-on-non-empty", "/etc/netns"])


def main(script):
    """Run by script's __main__: builds the bed and runs script in it; in it, script's tests."""
    if "ZV_NET_BED" not in os.environ:
        sys.exit(outside(script))
    unittest.main(module="__main__")
