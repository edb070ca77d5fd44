#!/usr/bin/python3
"""Stand-ins for the reminders' tests, on 127.0.0.1.

  standins.py smtp DIR PORT [--user USER --password PASSWORD]
      An SMTP server (aiosmtpd) that requires STARTTLS on a throwaway certificate it makes
      with openssl in DIR (DIR/cert.pem is the authority to trust), and logging in when a user
      is given. Each message taken is written as DIR/mail-N.eml.
  standins.py sms DIR PORT [--key KEY]
      An SMS provider's HTTP interface: a request whose body or URL holds the key (when given)
      gets 200 "STATUS=ACCEPTED id=N", else 401. Each request is written as DIR/sms-N.txt.
  standins.py check FILE
      Reads a mail with Python's email module and its .ics with icalendar, and prints JSON.

The servers print "PORT n" once they listen (PORT 0: a port of their own choosing).
"""
import json
import os
import subprocess
import sys


def next_name(folder, prefix, ext):
    n = 1
    while os.path.exists(os.path.join(folder, "%s-%d.%s" % (prefix, n, ext))):
        n += 1
    return os.path.join(folder, "%s-%d.%s" % (prefix, n, ext))


def smtp(folder, port, user, password):
    import asyncio
    import socket
    import ssl
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult

    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                    "-keyout", key, "-out", cert], check=True, capture_output=True)
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)

    class Handler:
        async def handle_DATA(self, server, session, envelope):
            with open(next_name(folder, "mail", "eml"), "wb") as f:
                f.write(envelope.original_content)
            return "250 Message accepted for delivery"

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (auth_data.login.decode() == user and auth_data.password.decode() == password)
        return AuthResult(success=ok, handled=False)

    if port == 0:
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
        s.close()
    kwargs = dict(tls_context=context, require_starttls=True)
    if user:
        kwargs.update(authenticator=authenticator, auth_required=True,
                      auth_require_tls=True)
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, **kwargs)
    controller.start()
    print("PORT %d" % port, flush=True)
    try:
        sys.stdin.read()  # runs until the test closes its end
    finally:
        controller.stop()


def sms(folder, port, key):
    from http.server import BaseHTTPRequestHandler, HTTPServer
    from urllib.parse import unquote_plus

    class Handler(BaseHTTPRequestHandler):
        def do_any(self):
            length = int(self.headers.get("Content-Length") or 0)
            body = self.rfile.read(length).decode("utf-8")
            name = next_name(folder, "sms", "txt")
            whole = unquote_plus(self.path) + "\n" + self.headers.get("Authorization", "") + "\n" \
                + unquote_plus(body)
            if key and key not in whole:
                self.send_response(401)
                answer = b"STATUS=DENIED"
            else:
                with open(name, "w", encoding="utf-8") as f:
                    f.write(whole)
                self.send_response(200)
                answer = ("STATUS=ACCEPTED id=%s" % os.path.basename(name)).encode()
            self.send_header("Content-Length", str(len(answer)))
            self.end_headers()
            self.wfile.write(answer)

        do_POST = do_any
        do_GET = do_any

        def log_message(self, *args):
            pass

    server = HTTPServer(("127.0.0.1", port), Handler)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


def check(path):
    import email
    from email import policy
    import icalendar

    with open(path, "rb") as f:
        message = email.message_from_binary_file(f, policy=policy.default)
    out = {"subject": str(message["subject"]), "from": str(message["from"]),
           "to": str(message["to"]), "text": "", "calendar": []}
    for part in message.walk():
        if part.get_content_type() == "text/plain":
            out["text"] = part.get_content()
        elif part.get_content_type() == "text/calendar":
            out["calendar_method"] = part.get_param("method")
            out["calendar_filename"] = part.get_filename()
            cal = icalendar.Calendar.from_ical(part.get_payload(decode=True))
            out["method"] = str(cal.get("method"))
            for event in cal.walk("VEVENT"):
                out["calendar"].append({
                    "uid": str(event.get("uid")),
                    "summary": str(event.get("summary")),
                    "start": event.decoded("dtstart").isoformat(),
                    "end": event.decoded("dtend").isoformat(),
                })
    print(json.dumps(out, ensure_ascii=False))


def option(args, name):
    return args[args.index(name) + 1] if name in args else ""


if __name__ == "__main__":
    what = sys.argv[1]
    if what == "smtp":
        smtp(sys.argv[2], int(sys.argv[3]), option(sys.argv, "--user"),
             option(sys.argv, "--password"))
    elif what == "sms":
        sms(sys.argv[2], int(sys.argv[3]), option(sys.argv, "--key"))
    elif what == "check":
        check(sys.argv[2])
