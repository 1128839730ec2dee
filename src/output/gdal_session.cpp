#include "output/gdal_session.h"

#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal.h>

#include <atomic>
#include <mutex>

namespace kalvera {

GdalQuiet::GdalQuiet() {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalQuiet::~GdalQuiet() {
    CPLPopErrorHandler();
}

std::string GdalQuiet::LastReason(const std::string& fallback) {
    const char* message = CPLGetLastErrorMsg();
    return message && *message ? message : fallback;
}

MemoryDir::MemoryDir() {
    static std::atomic<unsigned> next{0};
    dir_ = "/vsimem/kalvera-" + std::to_string(next++);
    VSIMkdir(dir_.c_str(), 0755);
}

MemoryDir::~MemoryDir() {
    VSIRmdirRecursive(dir_.c_str());
}

std::optional<std::string> MemoryDir::read(const std::string& name) const {
    vsi_l_offset length = 0;
    const GByte* data = VSIGetMemFileBuffer(path(name).c_str(), &length, FALSE);
    if (!data) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
}

}  // namespace kalvera
