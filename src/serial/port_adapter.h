#pragma once
// The adapter behind a serial port: what sysfs says about the USB device the
// tty belongs to (maker, product, serial number, USB vendor and product id,
// driver) and the stable names udev gives it under /dev/serial/by-id and
// /dev/serial/by-path. Installers know their adapters by maker and serial
// number, not by ttyUSB numbers that move between plug-ins.
//
// Every path is read under a root folder ("" is the machine's own tree), so
// tests run the same code on a fake /sys and /dev made in a temporary folder.
// Device paths given and returned are the system's own ("/dev/ttyUSB0"), not
// prefixed with the root.

#include <QString>

namespace zarven {

struct PortAdapter {
    QString device;       // the tty device the port resolves to ("/dev/ttyUSB0")
    QString manufacturer; // USB strings; empty when the device has none
    QString product;
    QString serial;
    QString vendorId;  // four hex digits ("0403"); empty off USB
    QString productId; // four hex digits ("6001")
    QString driver;    // the tty's driver ("ftdi_sio", "cdc_acm")
    QString byId;      // "/dev/serial/by-id/usb-FTDI_..."; empty without one
    QString byPath;    // "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"

    bool isUsb() const { return !vendorId.isEmpty(); }
    // "0403:6001", or an empty text off USB.
    QString usbId() const;
    // The short label: "FTDI FT232R, A10K3XYZ"; empty when sysfs knows
    // nothing of the port (a pseudo-terminal, a port without a device).
    QString label() const;
};

// What sysfs and /dev/serial say about the port at devicePath. Never fails:
// what cannot be read stays empty.
PortAdapter portAdapter(const QString &devicePath, const QString &root = QString());

// The port as the window shows it: "/dev/ttyUSB0 (FTDI FT232R, A10K3XYZ)",
// or just the port's name when there is no label.
QString portWithAdapter(const QString &port, const PortAdapter &adapter);
QString describePort(const QString &port, const QString &root = QString());

} // namespace zarven
