#!/usr/bin/python3
"""A stand-in XDG desktop portal for tests: owns org.freedesktop.portal.Desktop on the session bus
and answers org.freedesktop.portal.Settings.Read for the appearance namespace in Debian 12's shape,
a variant in a variant: color-scheme and reduced-motion, 0 unless given as "<key>=<n>" arguments.
Prints "ready" once the name is owned. A line "<key> <n>" on stdin sets that value, emits
SettingChanged and, once the bus has taken it, answers "set <key> <n>". With --hang it takes every
call and never answers, as a portal stuck at login does."""
import sys

from gi.repository import Gio, GLib

XML = """
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
    <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
  </interface>
</node>
"""
NAMESPACE = "org.freedesktop.appearance"
PATH = "/org/freedesktop/portal/desktop"
settings = {"color-scheme": 0, "reduced-motion": 0}
settings.update((k, int(v)) for k, v in (a.split("=") for a in sys.argv[1:] if "=" in a))
HANG = "--hang" in sys.argv
unanswered = []


def on_call(connection, sender, path, interface, method, params, invocation):
    namespace, key = params.unpack()
    if HANG:
        unanswered.append(invocation)  # kept, so that the caller gets no error either
    elif namespace != NAMESPACE or key not in settings:
        invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", "Requested setting not found")
    else:
        invocation.return_value(GLib.Variant("(v)", (GLib.Variant("v", GLib.Variant("u", settings[key])),)))


def command(channel, condition):
    words = channel.readline().split()
    if not words:  # stdin closed
        return False
    key, value = words
    settings[key] = int(value)
    bus.emit_signal(None, PATH, "org.freedesktop.portal.Settings", "SettingChanged",
                    GLib.Variant("(ssv)", (NAMESPACE, key, GLib.Variant("u", settings[key]))))
    # A round trip to the bus: the signal is routed to its listeners before "set" is answered.
    bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId", None, None,
                  Gio.DBusCallFlags.NONE, -1, None)
    print("set", key, value, flush=True)
    return True


bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
bus.register_object(PATH, Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0], on_call, None, None)
GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.PRIORITY_DEFAULT,
                  GLib.IOCondition.IN | GLib.IOCondition.HUP, command)
Gio.bus_own_name_on_connection(bus, "org.freedesktop.portal.Desktop", Gio.BusNameOwnerFlags.NONE,
                               lambda *_: print("ready", flush=True), None)
GLib.MainLoop().run()
