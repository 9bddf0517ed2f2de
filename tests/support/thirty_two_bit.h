// Whether this Linux machine can run the kit's 32-bit Windows programs: Wine's 32-bit loader is
// an i386 Linux program, which the kernel can only run through qemu's user-mode emulator,
// registered with binfmt_misc (tools/setup does it, and again after a restart).
#pragma once

#include <fstream>
#include <string>

// Empty if it can; otherwise one line saying why not. `root` is where Linux's "/" is: "" for a
// Linux program, "Z:" for a Windows program under Wine.
inline std::string WhyThirtyTwoBitProgramsCannotRun(const std::string& root = "") {
    const std::string binfmt = root + "/proc/sys/fs/binfmt_misc/";
    std::string why;
    std::string state;
    if (!(std::ifstream(binfmt + "qemu-i386") >> state))
        why = std::ifstream(binfmt + "status") ? "qemu-i386 is not registered with binfmt_misc"
                                               : "binfmt_misc is not mounted";
    else if (state != "enabled")
        why = "the qemu-i386 entry of binfmt_misc is disabled";
    else if (!std::ifstream(root + "/usr/lib/wine/wine"))
        why = "32-bit Wine (wine32:i386) is not installed";
    return why.empty() ? why
                       : "32-bit programs cannot run on this machine: " + why +
                             " (run tools/setup as root)";
}
