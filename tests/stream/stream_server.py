#!/usr/bin/env python3
"""A stream server on 127.0.0.1 for the probe's tests; prints its port first,
logs each request's lines, ends after 90 s.

  /icy, /icy-old   an endless MP3-like stream with icy-metaint 16 and a new
                   StreamTitle for each request, behind "HTTP/1.0 200 OK" or
                   "ICY 200 OK"
  /list.m3u        a playlist whose first stream is /icy
  /silent          reads the request and never answers
  anything else    404
"""
import socket
import socketserver
import sys
import threading
import time

count = {"n": 0}
lock = threading.Lock()


def block(title):
    text = ("StreamTitle='%s';" % title).encode("utf-8")
    text += b"\0" * (-len(text) % 16)
    return bytes([len(text) // 16]) + text


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        lines = []
        while True:
            line = self.rfile.readline(4096)
            if not line or line in (b"\r\n", b"\n"):
                break
            lines.append(line.decode("latin-1").rstrip("\r\n"))
        with lock:
            sys.stdout.write("".join("> %s\n" % l for l in lines))
            sys.stdout.flush()
        path = lines[0].split(" ")[1].split("?")[0] if lines and " " in lines[0] else "/"
        if path in ("/icy", "/icy-old"):
            with lock:
                count["n"] += 1
                n = count["n"]
            status = b"ICY 200 OK" if path == "/icy-old" else b"HTTP/1.0 200 OK"
            self.wfile.write(status + b"\r\nContent-Type: audio/mpeg\r\nicy-name: Radio d'essai\r\n"
                             b"icy-metaint: 16\r\n\r\n")
            try:
                for _ in range(200):
                    self.wfile.write(b"\xff\xfb" * 8 + block("Beyonc\u00e9 - D\u00e9j\u00e0 vu %d" % n))
                    time.sleep(0.01)
            except OSError:
                pass
        elif path == "/list.m3u":
            port = self.server.server_address[1]
            body = ("#EXTM3U\r\n#EXTINF:-1,Essai\r\nhttp://127.0.0.1:%d/icy\r\n" % port).encode()
            self.wfile.write(b"HTTP/1.0 200 OK\r\nContent-Type: audio/x-mpegurl\r\nContent-Length: %d\r\n\r\n"
                             % len(body) + body)
        elif path == "/silent":
            time.sleep(60)
        else:
            self.wfile.write(b"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<h1>404</h1>")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


server = Server(("127.0.0.1", 0), Handler)
print("port %d" % server.server_address[1], flush=True)
threading.Timer(90, lambda: threading.Thread(target=server.shutdown).start()).start()
server.serve_forever()
