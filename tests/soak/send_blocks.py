#!/usr/bin/env python3
"""Soak client: CLIENTS connections to 127.0.0.1:PORT, each sending numbered blocks with garbage between them in
random chunk sizes for SECONDS. Prints how many blocks each client sent, one "client count" line per client."""
import random
import socket
import sys
import threading
import time

port, clients, seconds = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
sent = [0] * clients


def run(index: int) -> None:
    rnd = random.Random(index)
    sock = socket.create_connection(("127.0.0.1", port))
    end = time.monotonic() + seconds
    pending = b""
    n = 0
    while time.monotonic() < end:
        for _ in range(20):
            pending += b"x<y/> " * rnd.randint(0, 3)
            pending += b'<Data><r c="%d" n="%d"/></Data>\r\n' % (index, n)
            n += 1
        while pending:
            size = rnd.randint(1, 900)
            sock.sendall(pending[:size])
            pending = pending[size:]
        time.sleep(0.05)
    sock.close()
    sent[index] = n


threads = [threading.Thread(target=run, args=(i,)) for i in range(clients)]
for t in threads:
    t.start()
for t in threads:
    t.join()
for i, n in enumerate(sent):
    print(i, n)
