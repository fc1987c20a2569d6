// The player's header probe on any file: a stage size or none, never a read
// past what the file gave.
#include <cstdio>

#include "FuzzDevice.h"
#include "movie/HeaderProbe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The probe writes a diagnostic line for every file; a run has millions.
    static FILE* const quiet = std::freopen("/dev/null", "w", stdout);
    (void)quiet;
    auto& device = fuzz::FuzzDevice::Shared();
    const std::u16string path = device.WriteInput({data, size});
    device.Run([&] { (void)player::ProbeMovieFile(path); });
    return 0;
}
