#include <filesystem>
#include <system_error>

#include "demo/demo_generator.h"

#ifndef KALVERA_DEMO_DATA_DIR
#define KALVERA_DEMO_DATA_DIR "data"
#endif
#ifndef KALVERA_DEMO_DATA_FROM_BIN
#define KALVERA_DEMO_DATA_FROM_BIN "../share/kalvera"
#endif

namespace kalvera::demo {

std::string ShippedDataDir() {
    // Both the generator and the viewer ask; each finds the resources
    // installed beside itself.
    std::error_code failure;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failure);
    if (!failure) {
        const std::filesystem::path installed = self.parent_path() / KALVERA_DEMO_DATA_FROM_BIN;
        if (std::filesystem::is_regular_file(installed / "towns.txt", failure))
            return installed.lexically_normal().string();
    }
    return KALVERA_DEMO_DATA_DIR;
}

}  // namespace kalvera::demo
