#!/usr/bin/env python3
"""A stand-in for the tax authority's e-books service, on 127.0.0.1 only, for the tests.

    standin.py [--xsd FOLDER] [--user U --key K] [--late MS] [--port N] [--tls CERT KEY]

Prints the port it listens on, then serves until its standard input closes. It checks the two
headers, validates every SendInvoices body against the schema (xmllint, when --xsd is given),
keeps what it accepted, and answers in the shapes the real service uses. The next answers are
chosen by the test: POST /_next with one mode a line, taken one per request:

  success      ResponseDoc with invoiceUid, invoiceMark, qrUrl (the default)
  validation   ValidationError with two messages
  syntax       XMLSyntaxError 101 "Root element is missing."
  technical    TechnicalError
  unauthorized HTTP 401 with the gateway's JSON
  ratelimit    HTTP 429
  wrapped      success, escaped inside a serialisation <string>
  lost         accepted and kept, but the reply never comes
  hang         nothing kept, and the reply never comes
  dropbefore   the connection closed before the body is read: nothing kept
  dropafter    the body read, then the connection closed: nothing kept
  droprecorded accepted and kept, then the connection closed without a reply
  late         kept at once, answered after --late milliseconds (beyond the client's time
               limit: a lost reply)
  gateway      accepted and kept, then HTTP 504 from the gateway
  error500     nothing kept, HTTP 500
  duplicate    kept (when not already), answered "228 Duplicate" with its MARK
  page         RequestTransmittedDocs gives two documents and a continuation token
  endless      RequestTransmittedDocs gives no document and a continuation token

A line "clear" forgets the modes not yet taken; "default=MODE" answers MODE when none is left.

GET /_log gives, as JSON, every request it took: call, query, headers right, schema errors,
the uid of each document, whether the service held that uid already when the body arrived
("held"), the mode it answered with, and for each POST the milliseconds it
spent on it ("ms", the stand-in's own time, which the benchmark leaves out).
"""
import hashlib
import json
import re
import subprocess
import sys
import threading
import time
import xml.etree.ElementTree as ET
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlparse

INV = "{http://www.aade.gr/myDATA/invoice/v1.0}"

args = sys.argv[1:]
def option(name, default=None):
    return args[args.index(name) + 1] if name in args else default

XSD = option("--xsd")
LATE_MS = int(option("--late", "1000"))
USER = option("--user", "practice")
KEY = option("--key", "secret-key")

lock = threading.Lock()
modes = []        # the next answers, first first
default_mode = ["success"]
log = []          # what came in
accepted = {}     # uid -> (mark, qrUrl)
cancelled = {}    # invoice mark -> cancellation mark
next_mark = [400001000000001]


def new_mark():
    with lock:
        mark = next_mark[0]
        next_mark[0] += 1
    return mark


def schema_errors(body):
    if not XSD:
        return []
    run = subprocess.run(["xmllint", "--noout", "--nonet", "--schema",
                          XSD + "/InvoicesDoc-v2.0.1.xsd", "-"],
                         input=body, capture_output=True)
    if run.returncode == 0:
        return []
    return [l for l in run.stderr.decode("utf-8", "replace").splitlines()
            if l and not l.endswith("fails to validate")] or ["invalid"]


def uid_of(invoice):
    """The identifier as the service computes it, from the document itself."""
    def text(path):
        e = invoice.find(path)
        return e.text if e is not None and e.text else ""
    key = "-".join([text(INV + "issuer/" + INV + "vatNumber"),
                    text(INV + "invoiceHeader/" + INV + "issueDate"),
                    text(INV + "issuer/" + INV + "branch"),
                    text(INV + "invoiceHeader/" + INV + "invoiceType"),
                    text(INV + "invoiceHeader/" + INV + "series"),
                    text(INV + "invoiceHeader/" + INV + "aa")])
    return hashlib.sha1(key.encode("iso-8859-7")).hexdigest().upper()


def response(index, inner):
    return "<response><index>%d</index>%s</response>" % (index, inner)


def error_response(index, status, errors):
    body = "".join("<error><message>%s</message><code>%s</code></error>" % (m, c)
                   for m, c in errors)
    # As the real service does: the status before the errors.
    return response(index, "<statusCode>%s</statusCode><errors>%s</errors>" % (status, body))


def doc(responses):
    return ('<?xml version="1.0" encoding="utf-8"?><ResponseDoc xmlns:xsi='
            '"http://www.w3.org/2001/XMLSchema-instance">%s</ResponseDoc>' % "".join(responses))


def wrap(text):
    escaped = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return ('<string xmlns="http://schemas.microsoft.com/2003/10/Serialization/">%s</string>'
            % escaped)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # The headers and the body go in separate writes: without this, the body waits for the
    # client's delayed acknowledgement (some 40 ms a reply), which is no time of the client's.
    disable_nagle_algorithm = True

    def log_message(self, *a):
        pass

    def reply(self, status, body, kind="application/xml"):
        data = body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", kind + "; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def take_mode(self):
        with lock:
            return modes.pop(0) if modes else default_mode[0]

    def body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length else b""

    def headers_right(self):
        return (self.headers.get("aade-user-id") == USER
                and self.headers.get("Ocp-Apim-Subscription-Key") == KEY)

    def do_GET(self):
        url = urlparse(self.path)
        if url.path == "/_log":
            with lock:
                return self.reply(200, json.dumps(log), "application/json")
        if url.path == "/_held":
            with lock:
                held = {u: m for u, (m, q) in accepted.items()}
            return self.reply(200, json.dumps(held), "application/json")
        entry, mode = self.begin(url)
        if mode is None:
            return
        if mode == "lost":
            time.sleep(30)
            return
        if mode in ("dropbefore", "dropafter", "droprecorded"):
            return self.drop()
        if mode == "late":
            time.sleep(LATE_MS / 1000)
        if mode in ("error500", "gateway"):
            return self.reply(500 if mode == "error500" else 504, "error", "text/plain")
        if url.path.endswith("/RequestTransmittedDocs"):
            query = parse_qs(url.query)
            after = int(query.get("mark", ["0"])[0])
            start = int(query.get("nextPartitionKey", ["0"])[0])
            with lock:
                docs = sorted((m, u, q) for u, (m, q) in accepted.items() if m > after)
            token = ""
            if mode == "endless":
                docs, token = [], str(start)
            elif mode == "page" and len(docs) > start + 2:
                docs, token = docs[start:start + 2], str(start + 2)
            else:
                docs = docs[start:]
            invoices = "".join("<invoice><uid>%s</uid><mark>%d</mark><qrCodeUrl>%s</qrCodeUrl>"
                               "</invoice>" % (u, m, q.replace("&", "&amp;"))
                               for m, u, q in docs)
            more = ("<continuationToken><nextPartitionKey>%s</nextPartitionKey><nextRowKey>r"
                    "</nextRowKey></continuationToken>" % token) if token else ""
            return self.reply(200, '<RequestedDoc xmlns="http://www.aade.gr/myDATA/invoice/v1.0">'
                                   "%s<invoicesDoc>%s</invoicesDoc></RequestedDoc>"
                              % (more, invoices))
        self.reply(404, "no such call", "text/plain")

    def begin(self, url):
        """Logs the request and answers what every call answers alike: a wrong key, a rate
        limit, no reply at all. Gives the log entry, and the mode, or None when answered."""
        entry = {"call": url.path.strip("/"), "query": url.query,
                 "headers": self.headers_right(), "uids": [], "schema": []}
        mode = self.take_mode()
        entry["mode"] = mode
        with lock:
            log.append(entry)
        if not self.headers_right() or mode == "unauthorized":
            self.unauthorized()
            return entry, None
        if mode == "ratelimit":
            self.reply(429, '{"statusCode":429,"message":"Rate limit is exceeded."}',
                       "application/json")
            return entry, None
        if mode == "hang":
            time.sleep(30)
            return entry, None
        return entry, mode

    def drop(self):
        """Closes the connection without a byte of reply."""
        self.close_connection = True
        try:
            self.connection.shutdown(2)
        except OSError:
            pass

    def unauthorized(self):
        self.reply(401, '{ "statusCode": 401, "message": "Access denied due to invalid '
                        'subscription key. Make sure to provide a valid key for an active '
                        'subscription." }', "application/json")

    def do_POST(self):
        started = time.perf_counter()
        self.entry = None
        try:
            self.post()
        finally:
            if self.entry is not None:
                with lock:
                    self.entry["ms"] = (time.perf_counter() - started) * 1000

    def post(self):
        url = urlparse(self.path)
        if url.path == "/_next":
            body = self.body()
            with lock:
                for line in (l.strip() for l in body.decode().splitlines()):
                    if line == "clear":
                        modes.clear()
                    elif line.startswith("default="):
                        default_mode[0] = line[len("default="):]
                    elif line:
                        modes.append(line)
            return self.reply(200, "ok", "text/plain")
        entry, mode = self.begin(url)
        self.entry = entry
        if mode is None:
            return
        if mode == "dropbefore":
            return self.drop()
        body = self.body()
        if mode == "dropafter":
            return self.drop()
        if mode == "error500":
            return self.reply(500, "error", "text/plain")
        if url.path.endswith("/CancelInvoice"):
            return self.cancel(url, mode)
        if not url.path.endswith("/SendInvoices"):
            return self.reply(404, "no such call", "text/plain")
        if not body.strip() or mode == "syntax":
            return self.reply(200, doc([error_response(1, "XMLSyntaxError",
                                                       [("Root element is missing.", "101")])]))
        entry["schema"] = schema_errors(body)
        if entry["schema"]:
            return self.reply(200, doc([error_response(1, "ValidationError",
                                                       [(m, "-1") for m in entry["schema"]])]))
        root = ET.fromstring(body)
        out = []
        for index, invoice in enumerate(root.findall(INV + "invoice"), start=1):
            uid = uid_of(invoice)
            entry["uids"].append(uid)
            entry.setdefault("late", []).append(
                invoice.find(INV + "transmissionFailure") is not None)
            if mode == "validation":
                out.append(error_response(index, "ValidationError", [
                    ("Field aa is mandatory for this invoice type", "204"),
                    ("Quantity is forbidden for invoice type 11.2", "205")]))
                continue
            if mode == "technical":
                out.append(error_response(index, "TechnicalError",
                                          [("Service is temporarily unavailable", "-1")]))
                continue
            with lock:
                known = accepted.get(uid)
            entry.setdefault("held", []).append(known is not None)
            if known is None:
                mark = new_mark()
                qr = ("https://mydataapidev.aade.gr/TimologioQR/QRInfo?q=%s&mark=%d"
                      % (uid[:12], mark))
                with lock:
                    accepted[uid] = (mark, qr)
            if known or mode == "duplicate":
                mark = (known or accepted[uid])[0]
                out.append(error_response(index, "ValidationError",
                                          [("Duplicate invoice with mark %d" % mark, "228")]))
                continue
            out.append(response(index, "<invoiceUid>%s</invoiceUid><invoiceMark>%d</invoiceMark>"
                                       "<qrUrl>%s</qrUrl><statusCode>Success</statusCode>"
                                % (uid, mark, qr.replace("&", "&amp;"))))
        if mode == "lost":
            time.sleep(30)
            return
        if mode == "droprecorded":
            return self.drop()
        if mode == "late":  # kept at once, answered late
            time.sleep(LATE_MS / 1000)
        if mode == "gateway":
            return self.reply(504, "gateway timeout", "text/plain")
        text = doc(out)
        self.reply(200, wrap(text) if mode == "wrapped" else text)

    def cancel(self, url, mode):
        mark = int(parse_qs(url.query).get("mark", ["0"])[0])
        with lock:
            held = any(m == mark for m, _ in accepted.values())
            done = cancelled.get(mark)
        if not held:
            return self.reply(200, doc([error_response(1, "ValidationError",
                                                       [("Invoice mark not found", "301")])]))
        if done:
            return self.reply(200, doc([error_response(1, "ValidationError",
                                                       [("Invoice already cancelled", "251")])]))
        cancel_mark = new_mark()
        with lock:
            cancelled[mark] = cancel_mark
        if mode == "lost":
            time.sleep(30)
            return
        self.reply(200, doc([response(1, "<cancellationMark>%d</cancellationMark>"
                                         "<statusCode>Success</statusCode>" % cancel_mark)]))


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    port = int(option("--port", "0"))
    server = Server(("127.0.0.1", port), Handler)
    if "--tls" in args:
        import ssl
        at = args.index("--tls")
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args[at + 1], args[at + 2])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()  # until the test closes it, or goes
    server.shutdown()


if __name__ == "__main__":
    main()
