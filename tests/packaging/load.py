"""Concurrent clients posting translations to 127.0.0.1:PORT as the Windows
client does (a new HTTP/1.0 connection per POST), each of SENTENCES
sentences so that the services' work sets the pace; optionally SIGKILLs
KILL_PID once KILL_AFTER requests are done. Prints the figures; exits 1 when
a request failed.

    load.py PORT REQUESTS CLIENTS SENTENCES [KILL_PID KILL_AFTER]
"""
import http.client
import os
import signal
import sys
import threading
import time

port, total, clients, sentences = (int(a) for a in sys.argv[1:5])
kill_pid, kill_after = (int(a) for a in sys.argv[5:7]) if len(sys.argv) > 6 else (0, 0)
pair = (b"Hello, how are you?", b"The weather is very good today.")
text = b" ".join(pair[i % 2] for i in range(sentences))
body = ("wl_url=&wl_text=" + "".join("%%%02X" % b for b in text) +
        "&wl_glossary=gl1&wl_srclang=EN&wl_trglang=ES&wl_ucp=1").encode()
lock = threading.Lock()
issued = done = 0
failures = []


def one():
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=20)
    try:
        conn.request("POST", "/wl/translate", body, {"Content-Type": "application/x-www-form-urlencoded"})
        answer = conn.getresponse()
        page = answer.read().decode("utf-8", "replace")
        return None if answer.status == 200 and "Hola" in page else "%d %s" % (answer.status, " ".join(page.split())[:80])
    except Exception as e:  # refused, reset, silent
        return repr(e)
    finally:
        conn.close()


def client():
    global issued, done
    while True:
        with lock:
            if issued == total:
                return
            issued += 1
        failure = one()
        with lock:
            done += 1
            failures.extend([failure] if failure else [])
            if kill_pid and done == kill_after:
                os.kill(kill_pid, signal.SIGKILL)


start = time.monotonic()
threads = [threading.Thread(target=client) for _ in range(clients)]
for t in threads:
    t.start()
for t in threads:
    t.join()
seconds = time.monotonic() - start
print("requests %d failures %d seconds %.2f throughput %.0f/s" % (done, len(failures), seconds, done / seconds))
for f in failures[:3]:
    print("  failed:", f)
sys.exit(1 if failures else 0)
