#!/usr/bin/env python3
"""orbelin-service against hostile peers, each case on a fresh service.

    bench/service/hostile_peers.py SERVICE [CASE ...]

SERVICE is the orbelin-service executable (the optimised one,
build/program-native/service/orbelin-service). Every case prints what the
service answered, how long it took and its peak resident memory (VmHWM).
The peers are on 127.0.0.1 only; the upstream servers are written here.
Without cases, all but "load" run; "load" (64 clients for 60 s, mixed sizes,
a few that stall or vanish) prints the service's memory, threads and open
files every five seconds.
"""
import http.server
import json
import os
import signal
import socket
import socketserver
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

SERVICE = None


def hex_body(text, source="EN", target="ES"):
    encoded = "".join("%%%02X" % b for b in text.encode("utf-8"))
    return ("wl_url=&wl_text=%s&wl_glossary=gl1&wl_srclang=%s&wl_trglang=%s&wl_ucp=1"
            % (encoded, source, target)).encode()


def cut(page):
    marker = page.find(b'"wl_result"')
    end = page.find(b"</textarea>")
    if marker < 0 or end < 0:
        return page[:80]
    return page[marker + 125:end]


class Service:
    def __init__(self, *args):
        # Its log goes to a file: a pipe nobody reads would fill and hold it.
        self.log = open(os.environ["SERVICE_LOG"], "ab") if "SERVICE_LOG" in os.environ \
            else tempfile.TemporaryFile()
        self.proc = subprocess.Popen([SERVICE, "--listen", "127.0.0.1:0", *args],
                                     stdout=subprocess.PIPE, stderr=self.log)
        line = self.proc.stdout.readline().decode()
        self.port = int(line.rsplit(":", 1)[1]) if "listening" in line else None
        self.first_line = line.strip()

    def peak_mb(self):
        try:
            with open("/proc/%d/status" % self.proc.pid) as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        return int(line.split()[1]) / 1024.0
        except OSError:
            pass
        return float("nan")

    def alive(self):
        return self.proc.poll() is None

    def stop(self):
        start = time.monotonic()
        if self.alive():
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(30)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        return time.monotonic() - start


def post(port, body, timeout=120):
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
        s.sendall(b"POST /wl/translate HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                  b"Content-Type: application/x-www-form-urlencoded\r\n"
                  b"Content-Length: %d\r\n\r\n" % len(body) + body)
        data = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                return data
            data += chunk


def status_line(data):
    return data.split(b"\r\n", 1)[0].decode(errors="replace") if data else "(nothing)"


def report(case, **figures):
    print("%-22s %s" % (case, "  ".join("%s=%s" % (k, v) for k, v in figures.items())), flush=True)


def flood(port, prefix, unit, seconds=8.0):
    """Sends prefix, then unit again and again, until the service ends the
    connection or the time is up. Returns (bytes sent, answer, seconds)."""
    s = socket.create_connection(("127.0.0.1", port))
    s.setblocking(False)
    sent, answer = 0, b""
    start = time.monotonic()
    payload = prefix + unit * (65536 // len(unit))
    first = True
    while time.monotonic() - start < seconds:
        try:
            n = s.send(payload if first else unit * (65536 // len(unit)))
            sent += n
            first = False
        except BlockingIOError:
            time.sleep(0.001)
        except OSError:
            break
        try:
            got = s.recv(65536)
            if not got:
                break
            answer += got
        except BlockingIOError:
            pass
        except OSError:
            break
    took = time.monotonic() - start
    s.close()
    return sent, answer, took


def case_flood(name, prefix, unit):
    service = Service()
    sent, answer, took = flood(service.port, prefix, unit)
    report(name, accepted_mib="%.1f" % (sent / 1048576), answer=repr(status_line(answer)),
           ended_after_s="%.2f" % took, peak_mb="%.0f" % service.peak_mb(), alive=service.alive())
    service.stop()


def case_endless_header():
    case_flood("endless-header-line", b"POST /wl/translate HTTP/1.1\r\nX-A: ", b"a")


def case_endless_request_line():
    case_flood("endless-request-line", b"GET /", b"a")


def case_header_lines():
    case_flood("endless-header-lines", b"POST /wl/translate HTTP/1.1\r\n", b"X-A: b\r\n")


def case_dribble():
    service = Service()
    s = socket.create_connection(("127.0.0.1", service.port))
    head = b"POST /wl/translate HTTP/1.1\r\nHost: x\r\nX-Long: " + b"a" * 1000
    start = time.monotonic()
    ended = None
    for byte in head:
        try:
            s.sendall(bytes([byte]))
        except OSError:
            ended = time.monotonic() - start
            break
        s.settimeout(0.4)
        try:
            if s.recv(4096) == b"":
                ended = time.monotonic() - start
                break
        except socket.timeout:
            pass
        except OSError:
            ended = time.monotonic() - start
            break
        if time.monotonic() - start > 30:
            break
    report("dribble-400ms", ended_after_s="%.1f" % ended if ended else "never (30 s)")
    s.close()
    service.stop()


class Upstream:
    """A translation server of the open kind whose answers a case chooses."""

    def __init__(self, languages=None, translation=None, tls=None):
        upstream = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def answer(self, body):
                self.send_response(200)
                self.send_header("Content-Type", "application/json")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                try:
                    self.wfile.write(body)
                except OSError:
                    pass

            def do_GET(self):
                self.answer(upstream.languages)

            def do_POST(self):
                length = int(self.headers.get("Content-Length", "0"))
                request = json.loads(self.rfile.read(length))
                self.answer(upstream.translation(request))

        self.languages = languages or json.dumps(
            [{"code": c, "name": c, "targets": ["en", "de"]} for c in ("en", "de")]).encode()
        self.translation = translation or (
            lambda r: json.dumps({"translatedText": "[%s] %s" % (r["target"], r["q"])}).encode())
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        if tls:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*tls)
            self.server.socket = context.wrap_socket(self.server.socket, server_side=True)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()


def upstream_case(name, upstream, *service_args, text="Hello", settle=0.0):
    service = Service("--upstream", "http://127.0.0.1:%d" % upstream.port, *service_args)
    time.sleep(settle)
    start = time.monotonic()
    try:
        answer = cut(post(service.port, hex_body(text, "EN", "DE"), timeout=60))
    except OSError as error:
        answer = ("(%s)" % error).encode()
    took = time.monotonic() - start
    report(name, answer=repr(answer[:60].decode(errors="replace")), took_s="%.2f" % took,
           peak_mb="%.0f" % service.peak_mb(), alive=service.alive())
    service.stop()
    upstream.close()


def code_list(count):
    return json.dumps([{"code": "x%05d" % i, "name": "L%d" % i} for i in range(count)]
                      + [{"code": "en", "name": "English"}, {"code": "de", "name": "German"}]).encode()


def case_codes_6000():
    upstream_case("upstream-6000-codes", Upstream(languages=code_list(6000)), settle=3.0)


def case_codes_8000():
    upstream_case("upstream-8000-codes", Upstream(languages=code_list(8000)), settle=3.0)


def case_brackets():
    upstream_case("upstream-8MiB-brackets", Upstream(translation=lambda r: b"[" * (8 << 20)), settle=0.5)


def case_bad_port():
    proc = subprocess.run([SERVICE, "--listen", "127.0.0.1:0", "--upstream",
                           "http://127.0.0.1:99999999999"], capture_output=True, timeout=30)
    report("upstream-bad-port", status=proc.returncode if proc.returncode >= 0
           else "signal %d" % -proc.returncode,
           stdout=repr(proc.stdout.decode().strip()[:60]), stderr=repr(proc.stderr.decode().strip()[:100]))


class Trickle:
    """Relays to a server, sending its bytes on one a second."""

    def __init__(self, target_port):
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.target = target_port
        threading.Thread(target=self.accept, daemon=True).start()

    def accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            server = socket.create_connection(("127.0.0.1", self.target))
            threading.Thread(target=self.pump, args=(client, server, 0), daemon=True).start()
            threading.Thread(target=self.pump, args=(server, client, 1.0), daemon=True).start()

    @staticmethod
    def pump(source, sink, pause):
        try:
            while True:
                data = source.recv(65536)
                if not data:
                    break
                if pause:
                    for i in range(len(data)):
                        sink.sendall(data[i:i + 1])
                        time.sleep(pause)
                else:
                    sink.sendall(data)
        except OSError:
            pass
        for s in (source, sink):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


def throwaway_certificate(folder):
    key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                   check=True, capture_output=True)
    return cert, key


def case_tls_trickle():
    with tempfile.TemporaryDirectory() as folder:
        upstream = Upstream(tls=throwaway_certificate(folder))
        trickle = Trickle(upstream.port)
        service = Service("--upstream", "https://127.0.0.1:%d" % trickle.port,
                          "--upstream-timeout", "2000")
        time.sleep(3)  # the start-up list request trickles too
        start = time.monotonic()
        answer = cut(post(service.port, hex_body("Hello", "EN", "DE")))
        took = time.monotonic() - start
        report("tls-trickle-2000ms", answer=repr(answer[:40].decode(errors="replace")),
               took_s="%.2f" % took, alive=service.alive())
        hanging = [threading.Thread(target=lambda: post(service.port, hex_body("Hi", "EN", "DE")),
                                    daemon=True) for _ in range(3)]
        for t in hanging:
            t.start()
        time.sleep(1.0)
        report("tls-trickle-sigterm", exit_s="%.2f" % service.stop(),
               status=service.proc.returncode)
        upstream.close()


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))]


def case_fairness(long_clients=6, long_bytes=270_000):
    service = Service("--engine-timeout", "120000")
    sentence = "The old teacher reads a long letter every morning. "
    text = (sentence * (long_bytes // len(sentence) + 1))[:long_bytes]
    post(service.port, hex_body("Warm up."))
    results = []

    def long_client():
        start = time.monotonic()
        answer = cut(post(service.port, hex_body(text), timeout=300))
        results.append((time.monotonic() - start, answer.count("profesor".encode())))

    threads = [threading.Thread(target=long_client) for _ in range(long_clients)]
    for t in threads:
        t.start()
    time.sleep(0.5)
    short = []
    while any(t.is_alive() for t in threads):
        start = time.monotonic()
        answer = cut(post(service.port, hex_body("I like apples.")))
        short.append(time.monotonic() - start)
        if b"manzanas" not in answer:
            short[-1] = float("inf")
        time.sleep(max(0.0, 0.5 - short[-1]))
    for t in threads:
        t.join()
    sentences = text.count("teacher")
    report("fairness", short_n=len(short), short_p50_s="%.3f" % percentile(short, 50),
           short_p99_s="%.3f" % percentile(short, 99), short_max_s="%.3f" % max(short),
           long_s="%.1f-%.1f" % (min(r[0] for r in results), max(r[0] for r in results)),
           long_complete="%d/%d" % (sum(1 for r in results if r[1] >= sentences), len(results)),
           peak_mb="%.0f" % service.peak_mb())
    service.stop()


def proc_figures(pid):
    figures = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "Threads"):
                figures[key] = int(value.split()[0])
    figures["fds"] = len(os.listdir("/proc/%d/fd" % pid))
    return figures


def case_load(clients=64, seconds=60, misbehaving=8):
    """Closed-loop clients of mixed sizes and pairs, a few that stall or
    vanish mid-request; samples the service's memory, threads and files."""
    import random
    service = Service()
    sentence = "The old teacher reads a long letter every morning. "
    sizes = [(0.75, 50), (0.15, 1000), (0.08, 10_000), (0.02, 100_000)]
    pairs = [("EN", "ES"), ("ES", "EN"), ("FR", "ES"), ("ZH_CN", "ZH_TW"), ("EN", "EN")]
    texts = {"EN": sentence, "ES": "El profesor viejo lee una carta larga. ",
             "FR": "Le vieux professeur lit une longue lettre. ", "ZH_CN": "简体中文的一句话。"}
    end = time.monotonic() + seconds
    counts = {"ok": 0, "error": 0}
    lock = threading.Lock()

    def well_behaved(seed):
        rng = random.Random(seed)
        while time.monotonic() < end:
            roll, size = rng.random(), 50
            for share, bytes_ in sizes:
                if roll < share:
                    size = bytes_
                    break
                roll -= share
            source, target = rng.choice(pairs)
            unit = texts[source]
            text = (unit * (size // len(unit.encode()) + 1))[:max(1, size // len(unit.encode()) * len(unit))]
            try:
                answer = cut(post(service.port, hex_body(text, source, target), timeout=60))
                good = answer and not answer.startswith("抱歉".encode())
            except OSError:
                good = False
            with lock:
                counts["ok" if good else "error"] += 1
            time.sleep(rng.uniform(2, 6))

    def misbehaving_client(seed):
        rng = random.Random(seed)
        while time.monotonic() < end:
            try:
                s = socket.create_connection(("127.0.0.1", service.port))
                body = hex_body(sentence * 20)
                head = (b"POST /wl/translate HTTP/1.1\r\nHost: x\r\n"
                        b"Content-Length: %d\r\n\r\n" % len(body))
                if seed % 2:
                    s.sendall(head[:20])                       # stalls in its head
                    time.sleep(rng.uniform(1, 12))
                else:
                    s.sendall(head + body[:len(body) // 2])    # vanishes mid-body
                s.close()
            except OSError:
                pass
            time.sleep(rng.uniform(0.1, 1))

    threads = [threading.Thread(target=well_behaved, args=(i,)) for i in range(clients)]
    threads += [threading.Thread(target=misbehaving_client, args=(i,)) for i in range(misbehaving)]
    for t in threads:
        t.start()
    samples = []
    start = time.monotonic()
    while time.monotonic() < end + 1:
        samples.append((time.monotonic() - start, proc_figures(service.proc.pid)))
        time.sleep(5)
    for t in threads:
        t.join()
    samples.append((time.monotonic() - start, proc_figures(service.proc.pid)))
    warm = [f for t, f in samples if t >= 15]
    rss = [f["VmRSS"] / 1024 for f in warm]
    print("load: %d clients + %d misbehaving for %d s" % (clients, misbehaving, seconds))
    for t, f in samples:
        print("  t=%5.1fs rss=%6.1fMB threads=%3d fds=%3d" % (t, f["VmRSS"] / 1024, f["Threads"], f["fds"]))
    report("load", requests=counts["ok"] + counts["error"], errors=counts["error"],
           rss_after_warmup_mb="%.1f-%.1f" % (min(rss), max(rss)),
           rss_spread="%.0f%%" % (100 * (max(rss) - min(rss)) / max(rss)),
           peak_mb="%.0f" % service.peak_mb(), alive=service.alive())
    service.stop()


def case_bodies(connections=64, size=1 << 20):
    """One client posting a mebibyte of text on every connection it may hold."""
    service = Service()
    text = ("The old teacher reads a long letter every morning. " * (size // 51))[:size - 100]
    body = ("wl_url=&wl_text=%s&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1" % text).encode()
    answers = []
    start = time.monotonic()

    def client():
        try:
            answers.append(cut(post(service.port, body, timeout=120))[:40])
        except OSError as error:
            answers.append(str(error).encode())

    threads = [threading.Thread(target=client) for _ in range(connections)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    kinds = {}
    for a in answers:
        kinds[a.decode(errors="replace")[:12]] = kinds.get(a.decode(errors="replace")[:12], 0) + 1
    report("mebibyte-bodies", connections=connections, took_s="%.1f" % (time.monotonic() - start),
           answers=kinds, peak_mb="%.0f" % service.peak_mb(), alive=service.alive())
    service.stop()


CASES = {
    "endless-header": case_endless_header,
    "endless-request-line": case_endless_request_line,
    "header-lines": case_header_lines,
    "dribble": case_dribble,
    "codes-6000": case_codes_6000,
    "codes-8000": case_codes_8000,
    "brackets": case_brackets,
    "bad-port": case_bad_port,
    "tls-trickle": case_tls_trickle,
    "fairness": case_fairness,
    "load": case_load,
    "bodies": case_bodies,
}

if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    SERVICE = sys.argv[1]
    if os.environ.get("LOAD_SECONDS"):
        case_load.__defaults__ = (64, int(os.environ["LOAD_SECONDS"]), 8)
    for name in sys.argv[2:] or [c for c in CASES if c != "load"]:
        CASES[name]()
