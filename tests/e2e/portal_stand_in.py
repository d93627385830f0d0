#!/usr/bin/python3
"""A stand-in XDG desktop portal for tests: owns org.freedesktop.portal.Desktop on the session
bus and serves org.freedesktop.portal.Settings (Read, ReadOne, ReadAll, SettingChanged) with the
appearance namespace: color-scheme 0 and a reduced-motion value that starts at the first
argument (default 0).

Prints "ready" once the name is owned and "read <namespace> <key>" for every Read/ReadOne.
Reads commands from stdin, one per line: "reduced-motion <n>" sets the value, emits
SettingChanged and answers "set reduced-motion <n>"."""
import sys

from gi.repository import Gio, GLib

XML = """
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="ReadAll">
      <arg type="as" name="namespaces" direction="in"/>
      <arg type="a{sa{sv}}" name="value" direction="out"/>
    </method>
    <method name="Read">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <method name="ReadOne">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <signal name="SettingChanged">
      <arg type="s" name="namespace"/>
      <arg type="s" name="key"/>
      <arg type="v" name="value"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""

NAMESPACE = "org.freedesktop.appearance"
PATH = "/org/freedesktop/portal/desktop"
INTERFACE = "org.freedesktop.portal.Settings"

settings = {"color-scheme": 0, "reduced-motion": int(sys.argv[1]) if len(sys.argv) > 1 else 0}


def on_call(connection, sender, path, interface, method, params, invocation):
    if method in ("Read", "ReadOne"):
        namespace, key = params.unpack()
        print("read", namespace, key, flush=True)
        if namespace != NAMESPACE or key not in settings:
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound",
                                         "Requested setting not found")
            return
        value = GLib.Variant("u", settings[key])
        invocation.return_value(GLib.Variant("(v)", (value,)))
    elif method == "ReadAll":
        wanted = params.unpack()[0]
        found = {}
        if not wanted or NAMESPACE in wanted or any(
                w.endswith("*") and NAMESPACE.startswith(w[:-1]) for w in wanted):
            found[NAMESPACE] = {k: GLib.Variant("u", v) for k, v in settings.items()}
        invocation.return_value(GLib.Variant("(a{sa{sv}})", (found,)))
    else:
        invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", method)


def on_get(connection, sender, path, interface, name):
    return GLib.Variant("u", 2) if name == "version" else None


def main():
    node = Gio.DBusNodeInfo.new_for_xml(XML)
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.register_object(PATH, node.interfaces[0], on_call, on_get, None)
    loop = GLib.MainLoop()

    def command(channel, condition):
        line = channel.readline()
        if not line:
            loop.quit()
            return False
        words = line.split()
        if len(words) == 2 and words[0] in settings:
            settings[words[0]] = int(words[1])
            bus.emit_signal(None, PATH, INTERFACE, "SettingChanged",
                            GLib.Variant("(ssv)", (NAMESPACE, words[0],
                                                   GLib.Variant("u", settings[words[0]]))))
            print("set", words[0], words[1], flush=True)
        return True

    channel = GLib.IOChannel.unix_new(sys.stdin.fileno())
    GLib.io_add_watch(channel, GLib.PRIORITY_DEFAULT, GLib.IOCondition.IN | GLib.IOCondition.HUP,
                      command)

    Gio.bus_own_name_on_connection(bus, "org.freedesktop.portal.Desktop",
                                   Gio.BusNameOwnerFlags.NONE,
                                   lambda *_: print("ready", flush=True),
                                   lambda *_: (print("lost", flush=True), loop.quit()))
    loop.run()


if __name__ == "__main__":
    sys.exit(main())
