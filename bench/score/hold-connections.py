#!/usr/bin/env python3
"""Holds idle and slow connections open against a score service during a benchmark.

Usage: hold-connections.py PORT IDLE SLOW
IDLE connections send nothing; SLOW connections send a request one byte every 4 seconds. A
connection the service closes (idle time-out, request deadline) is opened again at once, so the
load stays the same for the whole run. Runs until killed.
"""
import selectors
import socket
import sys
import time

REQUEST = b"GET /cgi/version.pl?prg=CometLaneDerby&show&type=0 HTTP/1.1\r\nHost: bench\r\n\r\n"


def connect(port):
    sock = socket.create_connection(("127.0.0.1", port))
    sock.setblocking(False)
    return sock


def main():
    port, idle, slow = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    selector = selectors.DefaultSelector()
    sent = {}
    for kind, count in (("idle", idle), ("slow", slow)):
        for _ in range(count):
            sock = connect(port)
            selector.register(sock, selectors.EVENT_READ, kind)
            sent[sock] = 0
    next_trickle = time.monotonic()
    while True:
        for key, _ in selector.select(timeout=0.5):
            sock = key.fileobj
            try:
                data = sock.recv(65536)
            except OSError:
                data = b""
            if not data:
                selector.unregister(sock)
                sock.close()
                del sent[sock]
                fresh = connect(port)
                selector.register(fresh, selectors.EVENT_READ, key.data)
                sent[fresh] = 0
        if time.monotonic() >= next_trickle:
            next_trickle += 4
            for key in list(selector.get_map().values()):
                if key.data == "slow":
                    sock = key.fileobj
                    try:
                        sock.send(REQUEST[sent[sock] % len(REQUEST):][:1])
                        sent[sock] += 1
                    except OSError:
                        pass


if __name__ == "__main__":
    main()
