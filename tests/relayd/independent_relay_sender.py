#!/usr/bin/python3
"""A relay sender written from the relay's wire format alone, sharing no code
with the program: resolve a receive code, check the issuer's ticket, seal the
report for the workstation the ticket names, submit it and poll its status
until the workstation has confirmed.

usage: independent_relay_sender.py ISSUER_PUBLIC_JSON CODE REPORT_FILE
Exits 0 once the status is "delivered"; otherwise exits 1 with the reason.
"""
import base64
import json
import os
import re
import sys
import time
import urllib.error
import urllib.request
import uuid

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric.ed25519 import Ed25519PublicKey
from cryptography.hazmat.primitives.asymmetric.x25519 import X25519PrivateKey, X25519PublicKey
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.hkdf import HKDF

PURPOSE = "tagsmith-relay-v1"
MAX_ANSWER_BYTES = 16384


def post(server, name, body):
    url = server.rstrip("/") + "/v1/relay/" + name
    request = urllib.request.Request(url, json.dumps(body).encode(), {"Content-Type": "application/json"})
    try:
        with urllib.request.urlopen(request, timeout=60) as answer:
            return json.loads(answer.read(MAX_ANSWER_BYTES + 1))
    except urllib.error.HTTPError as refusal:
        sys.exit(f"{name} refused ({refusal.code}): {refusal.read(MAX_ANSWER_BYTES + 1).decode()}")


def from_base64url(text):
    return base64.urlsafe_b64decode(text + "=" * (-len(text) % 4))


def verified_payload(ticket, issuer_key, code, nonce):
    signed_text, signature = ticket.split(".")
    Ed25519PublicKey.from_public_bytes(issuer_key).verify(from_base64url(signature), signed_text.encode())
    payload = json.loads(from_base64url(signed_text))
    checks = [payload["kind"] == PURPOSE, payload["code"] == code, payload["nonce"] == nonce,
              re.fullmatch("[a-f0-9]{64}", payload["deviceId"]) is not None,
              len(base64.b64decode(payload["receiverKey"], validate=True)) == 32,
              0 < payload["expiresAt"] - payload["issuedAt"] <= 120000]
    if not all(checks):
        sys.exit(f"ticket payload refused: {payload}")
    return payload


def sealed(report, payload):
    ephemeral = X25519PrivateKey.generate()
    receiver = X25519PublicKey.from_public_bytes(base64.b64decode(payload["receiverKey"]))
    salt, iv, message_id = os.urandom(32), os.urandom(12), str(uuid.uuid4())
    key = HKDF(hashes.SHA256(), 32, salt, PURPOSE.encode()).derive(ephemeral.exchange(receiver))
    associated = f"{PURPOSE}|{payload['deviceId']}|{message_id}".encode()
    sender_key = ephemeral.public_key().public_bytes(serialization.Encoding.Raw, serialization.PublicFormat.Raw)
    text = lambda raw: base64.b64encode(raw).decode()
    return {"messageId": message_id, "senderKey": text(sender_key), "salt": text(salt), "iv": text(iv),
            "ciphertext": text(AESGCM(key).encrypt(iv, report, associated)), "receiptSecret": os.urandom(32).hex()}


def main(configuration_path, code, report_path):
    with open(configuration_path, encoding="utf-8") as file:
        configuration = json.load(file)
    server, issuer_key = configuration["licenseServer"], base64.b64decode(configuration["publicKey"])
    with open(report_path, "rb") as file:
        report = file.read()
    nonce = os.urandom(24).hex()
    ticket = post(server, "resolve", {"code": code, "nonce": nonce})["ticket"]
    envelope = sealed(report, verified_payload(ticket, issuer_key, code, nonce))
    post(server, "submit", dict(envelope, ticket=ticket))
    receipt = {"messageId": envelope["messageId"], "receiptSecret": envelope["receiptSecret"]}
    deadline = time.monotonic() + 75
    while (status := post(server, "status", receipt).get("status")) == "pending" and time.monotonic() < deadline:
        time.sleep(0.2)
    if status != "delivered":
        sys.exit(f"not delivered: {status}")


if __name__ == "__main__":
    main(*sys.argv[1:])
