// Where this platform keeps what the report asks for: the processors in /proc/cpuinfo, memory in
// /proc/meminfo, the kernel through uname, the distribution in /etc/os-release, the machine's
// model in the firmware tables, and the drawing configurations through GLX.
#include "app/view/SysInfoProbe.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glx.h>

namespace {

std::string ReadTextFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// "key : value" lines, as /proc/cpuinfo and /proc/meminfo write them.
bool SplitField(const std::string& line, std::string& key, std::string& value) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    key = Trim(line.substr(0, colon));
    value = Trim(line.substr(colon + 1));
    return true;
}

std::string GlString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "unknown";
}

std::string GluString(GLenum name) {
    const GLubyte* text = gluGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "unknown";
}

int FbAttribute(Display* display, GLXFBConfig config, int attribute) {
    int value = 0;
    return glXGetFBConfigAttrib(display, config, attribute, &value) == Success ? value : 0;
}

SSysPixelFormat DescribeFbConfig(Display* display, GLXFBConfig config, bool softwareRenderer) {
    SSysPixelFormat format;
    int drawables = FbAttribute(display, config, GLX_DRAWABLE_TYPE);
    int renderTypes = FbAttribute(display, config, GLX_RENDER_TYPE);
    format.drawToWindow = (drawables & GLX_WINDOW_BIT) != 0;
    format.drawToBitmap = (drawables & GLX_PIXMAP_BIT) != 0;
    format.drawWithGdi = false;
    format.drawWithOpenGl = true;
    format.generic = softwareRenderer;
    format.accelerated =
        !softwareRenderer && FbAttribute(display, config, GLX_CONFIG_CAVEAT) != GLX_SLOW_CONFIG;
    format.doubleBuffered = FbAttribute(display, config, GLX_DOUBLEBUFFER) != 0;
    format.stereo = FbAttribute(display, config, GLX_STEREO) != 0;
    format.rgba = (renderTypes & GLX_RGBA_BIT) != 0;
    format.colourIndex = (renderTypes & GLX_COLOR_INDEX_BIT) != 0;
    format.colourBits = FbAttribute(display, config, GLX_BUFFER_SIZE);
    format.redBits = FbAttribute(display, config, GLX_RED_SIZE);
    format.greenBits = FbAttribute(display, config, GLX_GREEN_SIZE);
    format.blueBits = FbAttribute(display, config, GLX_BLUE_SIZE);
    format.alphaBits = FbAttribute(display, config, GLX_ALPHA_SIZE);
    format.accumRedBits = FbAttribute(display, config, GLX_ACCUM_RED_SIZE);
    format.accumGreenBits = FbAttribute(display, config, GLX_ACCUM_GREEN_SIZE);
    format.accumBlueBits = FbAttribute(display, config, GLX_ACCUM_BLUE_SIZE);
    format.accumAlphaBits = FbAttribute(display, config, GLX_ACCUM_ALPHA_SIZE);
    format.depthBits = FbAttribute(display, config, GLX_DEPTH_SIZE);
    format.stencilBits = FbAttribute(display, config, GLX_STENCIL_SIZE);
    format.auxBuffers = FbAttribute(display, config, GLX_AUX_BUFFERS);
    return format;
}

void ProbeWindowContext(SSysOpenGl& gl) {
    Display* display = glXGetCurrentDisplay();
    GLXContext context = glXGetCurrentContext();
    if (display == nullptr || context == nullptr) {
        return;
    }
    int screen = 0;
    int currentId = 0;
    glXQueryContext(display, context, GLX_SCREEN, &screen);
    glXQueryContext(display, context, GLX_FBCONFIG_ID, &currentId);
    gl.hasWindowContext = true;
    gl.screenWidth = DisplayWidth(display, screen);
    gl.screenHeight = DisplayHeight(display, screen);

    bool software = gl.renderer.find("llvmpipe") != std::string::npos ||
                    gl.renderer.find("softpipe") != std::string::npos ||
                    gl.renderer.find("Software") != std::string::npos;
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, screen, &count);
    for (int i = 0; configs != nullptr && i < count; ++i) {
        gl.pixelFormats.push_back(DescribeFbConfig(display, configs[i], software));
        if (FbAttribute(display, configs[i], GLX_FBCONFIG_ID) == currentId) {
            gl.currentPixelFormat = i + 1;
        }
    }
    if (configs != nullptr) {
        XFree(configs);
    }
}

SSysOpenGl ProbeOpenGl() {
    SSysOpenGl gl;
    gl.vendor = GlString(GL_VENDOR);
    gl.version = GlString(GL_VERSION);
    gl.extensions = GlString(GL_EXTENSIONS);
    gl.renderer = GlString(GL_RENDERER);
    gl.gluVersion = GluString(GLU_VERSION);
    gl.gluExtensions = GluString(GLU_EXTENSIONS);
    if (gl.version != "unknown") {
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        gl.viewportWidth = viewport[2];
        gl.viewportHeight = viewport[3];
        ProbeWindowContext(gl);
    }
    return gl;
}

SSysOs ProbeOs() {
    SSysOs os;
    utsname names {};
    if (uname(&names) != 0) {
        return os;
    }
    os.type = names.sysname;
    std::sscanf(names.release, "%d.%d.%d", &os.major, &os.minor, &os.build);
    std::string distribution;
    std::istringstream release(ReadTextFile("/etc/os-release"));
    std::string line;
    while (std::getline(release, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            distribution = line.substr(12);
            if (distribution.size() >= 2 && distribution.front() == '"' &&
                distribution.back() == '"') {
                distribution = distribution.substr(1, distribution.size() - 2);
            }
        }
    }
    os.info = distribution.empty() ? std::string(names.version)
                                   : distribution + ", " + names.version;
    return os;
}

void ProbeAddressSpace(SSysMemory& memory) {
    // The user part of a 64-bit process's address space (47 bits), unless a limit is set.
    uint64_t total = uint64_t{1} << 47;
    rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        total = limit.rlim_cur;
    }
    uint64_t used = 0;
    std::istringstream status(ReadTextFile("/proc/self/status"));
    std::string line;
    std::string key;
    std::string value;
    while (std::getline(status, line)) {
        if (SplitField(line, key, value) && key == "VmSize") {
            used = std::strtoull(value.c_str(), nullptr, 10) * 1024;
        }
    }
    memory.addressSpaceTotal = total;
    memory.addressSpaceAvail = used < total ? total - used : 0;
}

} // namespace

std::vector<SSysProcessor> ParseCpuInfo(const std::string& cpuInfo) {
    std::vector<SSysProcessor> processors;
    std::istringstream lines(cpuInfo);
    std::string line;
    std::string key;
    std::string value;
    while (std::getline(lines, line)) {
        if (!SplitField(line, key, value)) {
            continue;
        }
        if (key == "processor") {
            if (processors.size() == 32) {
                break;
            }
            // A value the next block lacks keeps the previous processor's text.
            processors.push_back(processors.empty() ? SSysProcessor{} : processors.back());
        } else if (processors.empty()) {
            continue;
        } else if (key == "model name") {
            processors.back().identifier = value;
        } else if (key == "vendor_id") {
            processors.back().vendor = value;
        } else if (key == "cpu MHz") {
            processors.back().megahertz = std::atoi(value.c_str());
        }
    }
    return processors;
}

bool ParseMemInfo(const std::string& memInfo, SSysMemory& memory) {
    uint64_t total = 0;
    uint64_t avail = 0;
    uint64_t swapTotal = 0;
    uint64_t swapFree = 0;
    bool haveTotal = false;
    std::istringstream lines(memInfo);
    std::string line;
    std::string key;
    std::string value;
    while (std::getline(lines, line)) {
        if (!SplitField(line, key, value)) {
            continue;
        }
        uint64_t bytes = std::strtoull(value.c_str(), nullptr, 10) * 1024;
        if (key == "MemTotal") {
            total = bytes;
            haveTotal = true;
        } else if (key == "MemAvailable") {
            avail = bytes;
        } else if (key == "SwapTotal") {
            swapTotal = bytes;
        } else if (key == "SwapFree") {
            swapFree = bytes;
        }
    }
    if (!haveTotal || total == 0) {
        return false;
    }
    memory.physicalTotal = total;
    memory.physicalAvail = avail;
    memory.pageFileTotal = total + swapTotal;
    memory.pageFileAvail = avail + swapFree;
    memory.loadPercent = static_cast<int>((total - std::min(avail, total)) * 100 / total);
    return true;
}

SSysInfo ProbeSysInfo(uint32_t flags) {
    SSysInfo info;
    std::time_t now = std::time(nullptr);
    std::tm local {};
    errno = 0;
    if (localtime_r(&now, &local) != nullptr) {
        info.localTime = local;
    } else {
        info.localTimeError = errno;
    }
    if (flags & SysInfoSection::Host) {
        char name[HOST_NAME_MAX + 1] = {};
        if (gethostname(name, sizeof name - 1) == 0 && name[0] != '\0') {
            info.host = name;
        }
        std::string model = Trim(ReadTextFile("/sys/devices/virtual/dmi/id/product_name"));
        if (!model.empty()) {
            info.hostModel = model;
        }
        info.processors = ParseCpuInfo(ReadTextFile("/proc/cpuinfo"));
    }
    if (flags & SysInfoSection::Memory) {
        ParseMemInfo(ReadTextFile("/proc/meminfo"), info.memory);
        ProbeAddressSpace(info.memory);
    }
    if (flags & SysInfoSection::Os) {
        info.os = ProbeOs();
    }
    if (flags & SysInfoSection::OpenGl) {
        info.openGl = ProbeOpenGl();
    }
    return info;
}
