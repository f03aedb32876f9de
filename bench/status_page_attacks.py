#!/usr/bin/env python3
"""Hostile clients against a running Ovelsk's status page, one attack class at
a time, with the program's resident memory after each (VmRSS, and VmHWM, the
peak so far). Sends only to 127.0.0.1; every attack is bounded in bytes and time.

    bench/status_page_attacks.py PORT PID
"""
import socket
import sys
import threading
import time

PORT, PID = int(sys.argv[1]), int(sys.argv[2])
HOST = "127.0.0.1"


def memory():
    fields = {}
    with open(f"/proc/{PID}/status") as status:
        for line in status:
            name, _, value = line.partition(":")
            fields[name] = value.strip()
    return fields["VmRSS"], fields["VmHWM"]


def connect():
    s = socket.create_connection((HOST, PORT), timeout=15)
    return s


def read_all(s, limit=10_000_000):
    data = b""
    try:
        while len(data) < limit:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
    except OSError:
        pass
    return data


def body_flood(header, total=600 << 20):
    """A request that announces a body, then the body: CRLFCRLF every 8 KB."""
    s = connect()
    s.sendall(header)
    block = (b"x" * 8188 + b"\r\n\r\n")
    sent = 0
    try:
        while sent < total:
            s.sendall(block * 16)
            sent += len(block) * 16
    except OSError:
        pass
    answer = read_all(s)
    s.close()
    return f"sent {sent >> 20} MB, answer {answer[:12]!r}"


def huge_content_length():
    return body_flood(b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000000\r\n\r\n")


def chunked():
    return body_flood(b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\n"
                      b"40000000\r\n")


def pipelined_unread():
    """16 connections, each 2,000 pipelined requests in one write, never read."""
    request = b"GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n" * 2000
    sockets = []
    for _ in range(16):
        s = connect()
        s.setblocking(False)
        try:
            s.send(request)
        except OSError:
            pass
        sockets.append(s)
    time.sleep(10)
    peak = memory()
    for s in sockets:
        s.close()
    return f"held 10 s; RSS then {peak[0]}"


def slowloris():
    """16 connections, one header byte a second, for 15 s."""
    sockets = [connect() for _ in range(16)]
    for s in sockets:
        s.send(b"GET / HTTP/1.1\r\n")
    closed = 0
    for _ in range(15):
        time.sleep(1)
        for s in list(sockets):
            try:
                s.send(b"X")
            except OSError:
                sockets.remove(s)
                closed += 1
    probe = connect()
    probe.sendall(b"GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")
    answer = read_all(probe)
    for s in sockets:
        s.close()
    return f"{closed} of 16 closed by the server; a real client then got {answer[:12]!r}"


def closes_at_once():
    results = []
    for request in (b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", b"GET / HTTP/1.0\r\n\r\n"):
        s = connect()
        started = time.monotonic()
        s.sendall(request)
        read_all(s)
        results.append(f"{(time.monotonic() - started) * 1000:.1f} ms")
        s.close()
    return "answer and close after " + ", ".join(results)


def half_close():
    answered = 0
    for _ in range(30):
        s = connect()
        s.sendall(b"GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")
        s.shutdown(socket.SHUT_WR)
        answered += read_all(s).startswith(b"HTTP/1.1 200")
        s.close()
    return f"{answered} of 30 answered"


def upgrade():
    answers = 0
    for _ in range(201):
        s = connect()
        s.sendall(b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade, close\r\n"
                  b"Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n")
        answers += read_all(s).count(b"HTTP/1.1 ")
        s.close()
    return f"{answers} answers to 201 requests"


def bare_lf():
    s = connect()
    s.sendall(b"GET /app.css HTTP/1.1\nHost: 127.0.0.1\n\n" * 300)
    s.settimeout(3)
    answer = read_all(s)
    s.close()
    return f"first answer {answer[:12]!r}, {answer.count(b'HTTP/1.1 ')} answers"


def many_connections():
    """5,000 connections at once, each one request."""
    sockets = []
    for _ in range(5000):
        try:
            s = socket.socket()
            s.setblocking(False)
            s.connect_ex((HOST, PORT))
            sockets.append(s)
        except OSError:
            break
    time.sleep(1)
    codes = {}
    for s in sockets:
        try:
            s.setblocking(True)
            s.settimeout(5)
            s.sendall(b"GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")
            code = read_all(s)[9:12].decode() or "none"
        except OSError:
            code = "reset"
        codes[code] = codes.get(code, 0) + 1
        s.close()
    return f"{len(sockets)} connections: {codes}"


def rebinding():
    s = connect()
    s.sendall(b"GET /api/status HTTP/1.1\r\nHost: evil.example\r\nConnection: close\r\n\r\n")
    answer = read_all(s)
    s.close()
    return f"{answer[:34]!r}"


ATTACKS = [huge_content_length, chunked, pipelined_unread, slowloris, closes_at_once, half_close, upgrade,
           bare_lf, many_connections, rebinding]

print(f"{'before':22} RSS {memory()[0]:>10}  peak {memory()[1]:>10}")
for attack in ATTACKS:
    started = time.monotonic()
    result = attack()
    rss, hwm = memory()
    print(f"{attack.__name__:22} RSS {rss:>10}  peak {hwm:>10}  {time.monotonic() - started:5.1f} s  {result}",
          flush=True)
