#pragma once

#include <QStringList>
#include <memory>

class AudioCapture;
class DebugOutput;
class Drives;
class Environment;
class Registry;
class Shell;

// The operating system's implementations of the seams the logic is written against. Each OS folder
// provides these; CMake picks the folder.
namespace platform {

std::unique_ptr<DebugOutput> makeDebugOutput();
std::unique_ptr<Environment> makeEnvironment(); // from the running application object
std::unique_ptr<Drives> makeDrives();
std::unique_ptr<Shell> makeShell();
std::unique_ptr<Registry> makeRegistry();
std::unique_ptr<AudioCapture> makeAudioCapture();

} // namespace platform
