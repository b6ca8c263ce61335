"""A real SMTP relay for the mail tests, run with Debian's python3 and its python3-aiosmtpd.

Listens on 127.0.0.1 and a free port with STARTTLS (the given certificate) and requires AUTH
over TLS for the given account; prints "PORT <n>" once listening. Accepts one message, parses
it with the email package, and writes to OUT: summary.json (envelope, headers, parts),
text.txt (the text part) and attachment.bin (the decoded attachment). Exits when its standard
input closes or after a fixed deadline, whichever comes first.

Options for relays that behave differently: --refuse-recipient ADDRESS answers RCPT TO for that
address with a 550; --auth-last lists the AUTH mechanisms on the last line of the EHLO reply.
"""
import argparse
import asyncio
import email
import json
import logging
import os
import ssl
import sys
from email import policy

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

DEADLINE_SECONDS = 60

# aiosmtpd logs a warning about its own use of a deprecated attribute during every AUTH.
logging.getLogger("mail.log").setLevel(logging.ERROR)


class Relay(SMTP):
    # The prompts most relays send ("Username:", "Password:").
    AuthLoginUsernameChallenge = "Username:"
    AuthLoginPasswordChallenge = "Password:"


class Handler:
    def __init__(self, refused_recipient, auth_last):
        self.received = None
        self.mechanisms = []
        self.refused_recipient = refused_recipient
        self.auth_last = auth_last

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        auth = [line for line in responses if line[4:].startswith("AUTH ")]
        if not self.auth_last or not auth:
            return responses
        others = [line[:3] + "-" + line[4:] for line in responses if line not in auth]
        return others + ["250 " + auth[0][4:]]

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address == self.refused_recipient:
            return f"550 5.1.1 <{address}>: Recipient address rejected"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.received = (session, envelope)
        return "250 Message accepted for delivery"


def summarise(handler, out):
    summary = {"received": handler.received is not None, "mechanisms": handler.mechanisms}
    if handler.received is None:
        return summary
    session, envelope = handler.received
    message = email.message_from_bytes(envelope.content, policy=policy.default)
    summary.update({
        "tls": session.ssl is not None,
        "mail_from": envelope.mail_from,
        "rcpt_tos": envelope.rcpt_tos,
        "from": str(message["From"]),
        "to": str(message["To"]),
        "subject": str(message["Subject"]),
        "content_type": message.get_content_type(),
        "is_multipart": message.is_multipart(),
        "defects": [type(d).__name__ for d in message.defects],
        "parts": [],
    })
    for part in message.iter_parts() if message.is_multipart() else []:
        summary["parts"].append({
            "content_type": part.get_content_type(),
            "disposition": part.get_content_disposition(),
            "filename": part.get_filename(),
            "encoding": part["Content-Transfer-Encoding"],
            "defects": [type(d).__name__ for d in part.defects],
        })
        if part.get_content_disposition() == "attachment":
            with open(os.path.join(out, "attachment.bin"), "wb") as f:
                f.write(part.get_payload(decode=True))
        else:
            with open(os.path.join(out, "text.txt"), "w", encoding="utf-8", newline="") as f:
                f.write(part.get_content())
    return summary


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--login", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--exclude-mechanism", action="append", default=[])
    parser.add_argument("--out", required=True)
    parser.add_argument("--refuse-recipient")
    parser.add_argument("--auth-last", action="store_true")
    args = parser.parse_args()

    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(args.cert, args.key)
    handler = Handler(args.refuse_recipient, args.auth_last)

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == args.login.encode()
              and auth_data.password == args.password.encode())
        if ok:
            handler.mechanisms.append(mechanism)
        return AuthResult(success=ok)

    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: Relay(handler, hostname="relay.test", tls_context=context,
                      require_starttls=True, auth_required=True, auth_require_tls=True,
                      authenticator=authenticator,
                      auth_exclude_mechanism=args.exclude_mechanism),
        host="127.0.0.1", port=0)
    print("PORT", server.sockets[0].getsockname()[1], flush=True)

    stop = loop.create_future()

    def on_stdin():
        if not os.read(sys.stdin.fileno(), 4096) and not stop.done():
            stop.set_result(None)

    loop.add_reader(sys.stdin.fileno(), on_stdin)
    try:
        await asyncio.wait_for(stop, DEADLINE_SECONDS)
    except asyncio.TimeoutError:
        print("relay: deadline reached", file=sys.stderr)
    loop.remove_reader(sys.stdin.fileno())
    server.close()
    with open(os.path.join(args.out, "summary.json"), "w", encoding="utf-8") as f:
        json.dump(summarise(handler, args.out), f)
    print("DONE", flush=True)


if __name__ == "__main__":
    asyncio.run(main())
