#!/usr/bin/python3
"""Writes the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>/)
from the test fixtures and the shipped resources. Run it again after the
fixtures change. It leaves other files alone: inputs that once found a fault
stay in the corpus as "finding-*" files. The fuzz runs themselves never write
into these folders."""
import base64
import hashlib
import json
import pathlib
import plistlib
import struct

ROOT = pathlib.Path(__file__).resolve().parents[2]
FIXTURES = ROOT / "tests" / "fixtures"
CORPUS = ROOT / "tests" / "fuzz" / "corpus"

KEY = base64.b64encode(bytes(range(1, 33))).decode()
DEVICE = hashlib.sha256(b"workstation").hexdigest()


def frame(payload):
    return struct.pack(">I", len(payload)) + payload


def compact(value):
    return json.dumps(value, separators=(",", ":"), ensure_ascii=False).encode()


def reports():
    return sorted((FIXTURES / "reports").glob("*/*.macreport"))


def validated():
    return {path.name: path.read_bytes() for path in reports()}


def records():
    return {name: (ROOT / "resources" / name).read_bytes() for name in ("models.json", "a-models.json", "receiver.json")}


def hello(**changes):
    value = {"version": 2, "publicKey": KEY, "deviceId": "workstation-1"}
    value.update(changes)
    return compact(value)


def frames():
    seeds = {}
    for path in reports()[:3]:
        seeds["v1-" + path.stem] = b"\0" + frame(path.read_bytes()) + frame(b"RECEIVED")
    seeds["v2-hello"] = b"\1" + struct.pack(">I", 12000) + frame(hello())
    seeds["v2-acknowledgement"] = b"\1" + struct.pack(">I", 1024) + frame(bytes(36))
    seeds["zero-length"] = b"\0" + bytes(4)
    seeds["v1-over-limit"] = b"\0" + struct.pack(">I", 1000000)
    return seeds


def v2_hello():
    return {
        "valid": hello(),
        "version-1": hello(version=1),
        "short-key": hello(publicKey=base64.b64encode(bytes(31)).decode()),
        "low-order-key": hello(publicKey=base64.b64encode(bytes(32)).decode()),
        "extra-members": compact({"version": 2, "publicKey": KEY, "deviceId": "ws", "name": "柜台 2", "n": [1, {}]}),
    }


def ticket_payload(**changes):
    value = {
        "kind": "tagsmith-relay-v1", "code": "48213", "nonce": "0123456789abcdef" * 3, "deviceId": DEVICE,
        "receiverKey": KEY, "issuedAt": 1740000000000, "expiresAt": 1740000060000,
    }
    value.update(changes)
    return compact(value)


def relay_ticket():
    payload = ticket_payload()
    text = base64.urlsafe_b64encode(payload).rstrip(b"=")
    return {
        "valid-payload": payload,
        "fraction-time": ticket_payload(expiresAt=1740000060000.5),
        "upper-device": ticket_payload(deviceId=DEVICE.upper()),
        "ticket-text": text + b"." + base64.urlsafe_b64encode(bytes(64)).rstrip(b"="),
    }


def decode_url():
    return {"remainder-%d" % n: base64.urlsafe_b64encode(bytes(range(n + 30))).rstrip(b"=") for n in range(3)}


def relay_answer():
    ok = struct.pack(">H", 200)
    return {
        "resolve": ok + compact({"ticket": relay_ticket()["ticket-text"].decode()}),
        "pending": ok + compact({"status": "pending"}),
        "not-found": struct.pack(">H", 404) + compact({"error": "接收码不存在"}),
        "server-error": struct.pack(">H", 500),
    }


def disk_rule():
    seeds = {}
    for path in sorted((FIXTURES / "diskutil").glob("*.plist")):
        seeds[path.stem + "-xml"] = path.read_bytes()
        seeds[path.stem + "-binary"] = plistlib.dumps(plistlib.loads(path.read_bytes()), fmt=plistlib.FMT_BINARY)
    return seeds


def cable_policy():
    cable = FIXTURES / "cable"
    parts = [
        (cable / "networksetup-listallhardwareports.txt").read_bytes(),
        (cable / "ifconfig-thunderbolt-and-ncm.txt").read_bytes(),
        (cable / "remotectl-list.txt").read_bytes(),
        b"en16 AppleUSBNCMData CABLEMAC123\nen17 AppleUSBDeviceNCMData\nen5 AppleUSBNCMData CABLEMAC123",
        (cable / "remotectl-show-mac.txt").read_bytes(),
    ]
    return {"fixtures": b"\0".join(parts)}


def remote_devices():
    cable = FIXTURES / "cable"
    listing = (cable / "remotectl-list.txt").read_bytes()
    neighbours = (cable / "ndp-an.txt").read_bytes()
    details = (cable / "remotectl-show-mac.txt").read_bytes()
    return {"fixtures": b"\0".join([listing, neighbours, details])}


def system_report():
    seeds = {}
    for folder in ("system_profiler", "snapshots"):
        for path in sorted((FIXTURES / folder).glob("*.json")):
            seeds[folder + "-" + path.stem] = path.read_bytes()
    return seeds


TARGETS = {
    "validated_fuzzer": validated, "records_fuzzer": records, "frames_fuzzer": frames,
    "v2_hello_fuzzer": v2_hello, "relay_ticket_fuzzer": relay_ticket, "decode_url_fuzzer": decode_url,
    "relay_answer_fuzzer": relay_answer, "disk_rule_fuzzer": disk_rule, "cable_policy_fuzzer": cable_policy,
    "system_report_fuzzer": system_report, "remote_devices_fuzzer": remote_devices,
}

for target, seeds in TARGETS.items():
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, content in seeds().items():
        (folder / name.replace(",", "_")).write_bytes(content)
