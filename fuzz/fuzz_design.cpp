// The design reader on any bytes: it never crashes or hangs, and every design
// it hands out is one of its own, alive and readable.
#include <cstddef>
#include <cstdint>

#include "configuration/Design.h"
#include "configuration/DesignTable.h"

using BrelkosPlayer::Design;
using BrelkosPlayer::DesignTable;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DesignTable table;
    const Design* last = nullptr;
    table.ReadBytes(reinterpret_cast<const char*>(data), size, [&](const Design* design) {
        if (!design || table.Find(design->name) != design)
            __builtin_trap();
        last = design;
    });
    // A design handed out earlier stays readable whatever came after it.
    if (last) {
        volatile size_t length = last->name.length();
        volatile bool ok = last->generalColor.IsOk() && last->btnTxtColors[3].IsOk();
        (void)length;
        (void)ok;
    }
    return 0;
}
