#!/usr/bin/python3
"""A NetworkManager stand-in on the session bus, for the D-Bus backend tests.

argv[1] is a JSON scene:
  {"wirelessEnabled": bool,
   "devices": [{"type": 1 or 2, "interface": "wlan0", "state": 100,
                "active": "SSID" or null,
                "cached": [["SSID", strength], ...],    # listed before a scan
                "scanned": [["SSID", strength], ...],   # listed once a scan finished
                "refuseScan": bool}]}
A scan finishes 0.3 s after RequestScan, which then moves LastScan.
org.tagsmith.test.Control.SetState(u) on a device changes its state and
emits StateChanged, as a device that joins or leaves a network does.
Prints READY once it owns the name.
"""
import json
import sys
import time

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NM = "org.freedesktop.NetworkManager"
ROOT = "/org/freedesktop/NetworkManager"
DEVICE = NM + ".Device"
WIRELESS = NM + ".Device.Wireless"
ACCESS_POINT = NM + ".AccessPoint"
CONTROL = "org.tagsmith.test.Control"


class Properties(dbus.service.Object):
    def __init__(self, bus, path, properties):
        super().__init__(bus, path)
        self.properties = properties

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        try:
            return self.properties[interface][name]
        except KeyError:
            raise dbus.exceptions.DBusException(name, name="org.freedesktop.DBus.Error.UnknownProperty")


class Manager(Properties):
    def __init__(self, bus, device_paths, wireless_enabled):
        super().__init__(bus, ROOT, {NM: {"WirelessEnabled": dbus.Boolean(wireless_enabled)}})
        self.device_paths = device_paths

    @dbus.service.method(NM, in_signature="", out_signature="ao")
    def GetDevices(self):
        return [dbus.ObjectPath(path) for path in self.device_paths]


class AccessPoints:
    def __init__(self, bus):
        self.bus = bus
        self.objects = []

    def publish(self, ssid, strength):
        path = "%s/AccessPoint/%d" % (ROOT, len(self.objects) + 1)
        self.objects.append(Properties(self.bus, path, {ACCESS_POINT: {
            "Ssid": dbus.ByteArray(ssid.encode("utf-8")), "Strength": dbus.Byte(strength)}}))
        return dbus.ObjectPath(path)

    def publish_all(self, pairs):
        return [self.publish(ssid, strength) for ssid, strength in pairs]


class Device(Properties):
    def __init__(self, bus, path, scene, access_points):
        properties = {DEVICE: {"DeviceType": dbus.UInt32(scene["type"]), "Interface": scene["interface"],
                               "State": dbus.UInt32(scene["state"])}}
        self.listed = access_points.publish_all(scene.get("cached", []))
        self.scanned = access_points.publish_all(scene.get("scanned", []))
        self.refuse_scan = scene.get("refuseScan", False)
        active = scene.get("active")
        active_path = access_points.publish(active, 70) if active else dbus.ObjectPath("/")
        properties[WIRELESS] = {"ActiveAccessPoint": active_path, "LastScan": dbus.Int64(-1)}
        super().__init__(bus, path, properties)

    @dbus.service.method(WIRELESS, in_signature="a{sv}", out_signature="")
    def RequestScan(self, options):
        if self.refuse_scan:
            raise dbus.exceptions.DBusException("scanning not allowed",
                                                name="org.freedesktop.NetworkManager.Device.NotAllowed")
        GLib.timeout_add(300, self.finish_scan)

    def finish_scan(self):
        self.listed = self.scanned
        self.properties[WIRELESS]["LastScan"] = dbus.Int64(int(time.monotonic() * 1000))
        return False

    @dbus.service.method(WIRELESS, in_signature="", out_signature="ao")
    def GetAllAccessPoints(self):
        return self.listed

    @dbus.service.signal(DEVICE, signature="uuu")
    def StateChanged(self, new_state, old_state, reason):
        pass

    @dbus.service.method(CONTROL, in_signature="u", out_signature="")
    def SetState(self, state):
        old_state = self.properties[DEVICE]["State"]
        self.properties[DEVICE]["State"] = dbus.UInt32(state)
        self.StateChanged(dbus.UInt32(state), old_state, dbus.UInt32(0))


def main():
    scene = json.loads(sys.argv[1])
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(NM, bus, do_not_queue=True)
    access_points = AccessPoints(bus)
    paths = ["%s/Devices/%d" % (ROOT, index + 1) for index in range(len(scene["devices"]))]
    keep = [Device(bus, path, device, access_points) for path, device in zip(paths, scene["devices"])]
    keep.append(Manager(bus, paths, scene.get("wirelessEnabled", True)))
    print("READY", flush=True)
    GLib.MainLoop().run()
    del name, keep


if __name__ == "__main__":
    main()
