"""The system's COM ports during one scenario: only the ones it plugs in."""
from sim_reader import SimReader


def silent_reader():
    """A port that takes every command and never answers."""
    reader = SimReader(model=0)
    reader.set_mode("silent")
    return reader


class Ports:
    """For a with-block: the port table holds only the ports plugged in here, not Wine's own (COM1); at
    the end what is still plugged in goes and Wine's own ports come back."""

    def __init__(self, env):
        self.env, self.devices, self.system_ports = env, {}, env.remove_system_ports()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for n in list(self.devices):
            self.unplug(n)
        self.env.restore_system_ports(self.system_ports)

    def plug(self, n, device, usb=False):
        """COMn on a SimReader or a device path; usb: as the USB reader's port. Returns the device."""
        path = device.slave_path if isinstance(device, SimReader) else device
        (self.env.plug_usb_reader if usb else self.env.add_com_port)(n, path)
        self.devices[n] = (device, usb)
        return device

    def unplug(self, n):
        device, usb = self.devices.pop(n)
        (self.env.unplug_usb_reader if usb else self.env.remove_com_port)(n)
        if isinstance(device, SimReader):
            device.close()
