#!/usr/bin/python3
"""A minimal StatusNotifierWatcher with a host, for tests: owns org.kde.StatusNotifierWatcher on
the session bus, accepts item registrations and prints "registered <service>" per item, and
"ready" once the name is owned."""
import sys

from gi.repository import Gio, GLib

XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""

items = []


def on_call(connection, sender, path, interface, method, params, invocation):
    if method == "RegisterStatusNotifierItem":
        service = params.unpack()[0]
        # Items may pass only a path; the sender's name is then the service.
        if service.startswith("/"):
            service = sender + service
        if service not in items:
            items.append(service)
        print("registered", service, flush=True)
        connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered",
                               GLib.Variant("(s)", (service,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    if name == "ProtocolVersion":
        return GLib.Variant("i", 0)
    return None


def main():
    node = Gio.DBusNodeInfo.new_for_xml(XML)
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)
    loop = GLib.MainLoop()

    def acquired(*_):
        print("ready", flush=True)

    def lost(*_):
        print("lost", flush=True)
        loop.quit()

    Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher",
                                   Gio.BusNameOwnerFlags.NONE, acquired, lost)
    loop.run()


if __name__ == "__main__":
    sys.exit(main())
