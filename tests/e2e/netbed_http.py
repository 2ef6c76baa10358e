"""The bed's file server: GET /N answers N bytes, any other path 404. Run as netbed_http.py ADDRESS PORT WINDOW: with
a WINDOW, each answer keeps at most WINDOW bytes unacknowledged (SIOCOUTQ), as a receiver's window of that size would;
the system's send buffer alone does not hold it."""
import fcntl
import http.server
import socket
import struct
import sys
import termios
import time

WINDOW = int(sys.argv[3])


class Files(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        if not self.path[1:].isdigit():
            return self.send_error(404)
        size = int(self.path[1:])
        self.send_response(200)
        self.send_header("Content-Length", str(size))
        self.end_headers()
        # Segments leave at once, or a small window would wait on delayed acknowledgements.
        self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        try:
            while size > 0:
                queued = struct.unpack("i", fcntl.ioctl(self.connection, termios.TIOCOUTQ, b"\0" * 4))[0]
                room = min(size, 65536, WINDOW - queued if WINDOW else size)
                if room > 0:
                    size -= self.connection.send(b"z" * room)
                else:
                    time.sleep(0.0005)
        except ConnectionError:  # the client stopped reading
            self.close_connection = True

    def log_message(self, *_):
        pass


server = http.server.ThreadingHTTPServer((sys.argv[1], int(sys.argv[2])), Files)
server.daemon_threads = True
server.serve_forever()
