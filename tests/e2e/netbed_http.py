"""The bed's file server: GET /N answers N bytes, any other path 404. Run as netbed_http.py ADDRESS PORT [WINDOW]:
with WINDOW, each answer keeps at most WINDOW bytes unacknowledged, as a receiver's window of that size would."""
import fcntl
import http.server
import socket
import struct
import sys
import termios
import time

address, port = sys.argv[1], int(sys.argv[2])
window = int(sys.argv[3]) if len(sys.argv) > 3 else 0
CHUNK = 65536


def unacknowledged(connection):
    """What the send queue holds: bytes sent and not yet acknowledged, and bytes not yet sent (SIOCOUTQ)."""
    return struct.unpack("i", fcntl.ioctl(connection, termios.TIOCOUTQ, b"\0\0\0\0"))[0]


class Files(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        size = self.path[1:]
        if not size.isdigit():
            self.send_error(404)
            return
        size = int(size)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        if window:
            # Segments leave at once, or a cap below a few segments would wait on delayed acknowledgements.
            self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        block = memoryview(b"z" * CHUNK)
        try:
            while size > 0:
                room = min(size, CHUNK)
                if window:
                    room = min(room, window - unacknowledged(self.connection))
                    if room <= 0:
                        time.sleep(0.0005)
                        continue
                size -= self.connection.send(block[:room])
        except ConnectionError:  # the client stopped reading
            self.close_connection = True

    def log_message(self, *_):
        pass


server = http.server.ThreadingHTTPServer((address, port), Files)
server.daemon_threads = True
server.serve_forever()
