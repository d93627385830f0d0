#!/usr/bin/python3
"""A minimal StatusNotifierWatcher with a host, for tests: owns org.kde.StatusNotifierWatcher on
the session bus, keeps the registered items, and prints "ready" once the name is owned."""
from gi.repository import Gio, GLib

XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  </interface>
</node>
"""
items = []


def on_call(connection, sender, path, interface, method, params, invocation):
    if method == "RegisterStatusNotifierItem" and params[0] not in items:
        items.append(params[0])
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    return GLib.Variant("as", items) if name == "RegisteredStatusNotifierItems" else GLib.Variant("b", True)


bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
bus.register_object("/StatusNotifierWatcher", Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0], on_call, on_get, None)
Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", Gio.BusNameOwnerFlags.NONE,
                               lambda *_: print("ready", flush=True), None)
GLib.MainLoop().run()
