#pragma once
// CDeviceLink: the product-table lookups the transfers make by DeviceID in
// Products\products.inf: the firmware version a unit must have and the block size of the
// product's uploaded image. The lookups never open the port the class derives from.
#include <string>

#include "link/SerialPort.h"

class CDeviceLink : public CSerialPort {
public:
    // 1 the product's firmware version and the unit's are equal, 0 the product's is
    // higher (the unit has older firmware), 2 the unit's is higher. The fifth character of
    // each version text decides, taken as a digit (a non-digit counts 0); a text shorter
    // than five characters counts as if the missing characters were '0'. A DeviceID with
    // no entry has an empty version text.
    int GetProductFirmwareVersion(int deviceId, const std::string& unitVersion);
    // The product's "ProductBlockSize"; 1 when the entry has no such key, 0 when no entry
    // carries the DeviceID (a size that every transfer refuses).
    int GetProductBlockSize(int deviceId);

private:
    // The entry number n of the DeviceID, 0 when none.
    static int FindProductEntry(int deviceId);
};
