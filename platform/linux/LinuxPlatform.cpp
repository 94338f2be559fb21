#include "platform/Platform.h"

#include "platform/linux/FileRegistry.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxEnvironment.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/PulseAudioCapture.h"
#include "platform/linux/StderrDebugOutput.h"

namespace platform {

std::unique_ptr<DebugOutput> makeDebugOutput() {
    return std::make_unique<StderrDebugOutput>();
}

std::unique_ptr<Environment> makeEnvironment() {
    return std::make_unique<LinuxEnvironment>(LinuxEnvironment::fromApplication());
}

std::unique_ptr<Drives> makeDrives() {
    return std::make_unique<LinuxDrives>();
}

std::unique_ptr<Shell> makeShell() {
    return std::make_unique<LinuxShell>();
}

std::unique_ptr<Registry> makeRegistry() {
    return std::make_unique<FileRegistry>();
}

std::unique_ptr<AudioCapture> makeAudioCapture() {
    return std::make_unique<PulseAudioCapture>();
}

} // namespace platform
