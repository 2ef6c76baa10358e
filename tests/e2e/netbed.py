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
RESOLVER = "nameserver 198.18.2.53\noptions timeout:6 attempts:1\n"  # the router drops its queries: lookups hang
ECHO_SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "netbed_echo.py")


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
