// The system-information report that goes with error reports: time, host and processors,
// memory, operating system and the OpenGL implementation, as a plain text file with CR LF
// line ends. Gathering (SysInfoProbe) and formatting are apart so the report's lines can be
// checked on any machine.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// Section flags of WriteSysInfo; the time line is always written.
namespace SysInfoSection {
constexpr uint32_t Host = 1;
constexpr uint32_t Os = 2;
constexpr uint32_t Memory = 4;
constexpr uint32_t OpenGl = 8;
constexpr uint32_t All = 0xFFFF;
} // namespace SysInfoSection

struct SSysProcessor {
    std::string identifier = "unknown";
    std::string vendor = "unknown";
    int megahertz = 0;
};

struct SSysMemory {
    int loadPercent = 0;
    uint64_t physicalTotal = 0; // bytes
    uint64_t physicalAvail = 0;
    uint64_t pageFileTotal = 0; // physical memory and swap together
    uint64_t pageFileAvail = 0;
    uint64_t addressSpaceTotal = 0;
    uint64_t addressSpaceAvail = 0;
};

struct SSysOs {
    std::string type;    // the kernel's name
    int major = 0;
    int minor = 0;
    int build = 0;       // only the low 16 bits are reported
    std::string info;    // the distribution's name and the kernel's build text
    bool debug = false;
};

// One drawing configuration of the display (what the original platform calls a pixel format).
struct SSysPixelFormat {
    bool drawToWindow = false;
    bool drawToBitmap = false;
    bool drawWithGdi = false;
    bool drawWithOpenGl = true;
    bool accelerated = false;
    bool generic = false;
    bool needsPalette = false;
    bool needsSystemPalette = false;
    bool doubleBuffered = false;
    bool stereo = false;
    bool swapLayerBuffers = false;
    bool rgba = false;
    bool colourIndex = false;
    int colourBits = 0, redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0;
    int accumRedBits = 0, accumGreenBits = 0, accumBlueBits = 0, accumAlphaBits = 0;
    int depthBits = 0, stencilBits = 0, auxBuffers = 0;
};

struct SSysOpenGl {
    std::string vendor = "unknown";
    std::string version = "unknown";
    std::string extensions = "unknown";
    std::string renderer = "unknown";
    std::string gluVersion = "unknown";
    std::string gluExtensions = "unknown";
    bool hasWindowContext = false;   // a window system drawable is current
    int currentPixelFormat = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    double viewportWidth = 0.0;
    double viewportHeight = 0.0;
    std::vector<SSysPixelFormat> pixelFormats;  // only with a window context
};

// Everything the report says, gathered at one moment.
struct SSysInfo {
    std::optional<std::tm> localTime;  // empty when the local time cannot be computed
    int localTimeError = 0;
    std::string host = "unknown";
    std::string hostModel = "unknown";
    std::vector<SSysProcessor> processors;  // at most 32
    SSysMemory memory;
    std::optional<SSysOs> os;
    SSysOpenGl openGl;
};

// The report's text for the chosen sections, lines ending in "\n".
std::string FormatSysInfo(const SSysInfo& info, uint32_t flags);

// Asks for a file with the save dialog when path is empty (Cancel ends silently), gathers the
// information of this machine and the GL context current on this thread, and writes the
// report. A file that cannot be written shows "Datei konnte nicht geöffnet werden" and
// leaves any earlier file as it was. False when nothing was written.
bool WriteSysInfo(const std::string& path, uint32_t flags);
