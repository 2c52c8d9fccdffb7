#include "app/view/SysInfo.h"

#include <cstdarg>
#include <cstdio>

#include "app/view/SysInfoProbe.h"
#include "support/File.h"
#include "support/FileWrite.h"
#include "support/UserInterface.h"

namespace {

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string& out, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        size_t start = out.size();
        out.resize(start + static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data() + start, static_cast<size_t>(length) + 1, format, arguments);
        out.resize(start + static_cast<size_t>(length));
    }
    va_end(arguments);
}

int Megabytes(uint64_t bytes) {
    uint64_t megabytes = bytes / (1024 * 1024);
    return megabytes > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(megabytes);
}

const char* YesNo(bool value) { return value ? "y" : "n"; }

void FormatTime(const SSysInfo& info, std::string& out) {
    if (!info.localTime) {
        Append(out, "Error calling localtime: %d\n", info.localTimeError);
        return;
    }
    const std::tm& t = *info.localTime;
    Append(out, "Time/Date                     : %2d.%2d.%2d %2d:%2.2d\n", t.tm_mday,
           t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min);
}

void FormatHost(const SSysInfo& info, std::string& out) {
    out += "\n";
    Append(out, "Host                          : %s\n", info.host.c_str());
    Append(out, "Host Model                    : %s\n", info.hostModel.c_str());
    for (size_t k = 0; k < info.processors.size() && k < 32; ++k) {
        const SSysProcessor& cpu = info.processors[k];
        int number = static_cast<int>(k) + 1;
        Append(out, "Host CPU %3d                  : %s\n", number, cpu.identifier.c_str());
        Append(out, "Host CPU %3d Vendor           : %s\n", number, cpu.vendor.c_str());
        Append(out, "Host CPU %3d MHz              : %d\n", number, cpu.megahertz);
    }
}

void FormatMemory(const SSysInfo& info, std::string& out) {
    const SSysMemory& m = info.memory;
    out += "\n";
    Append(out, "Memory Load (%%)               : %d\n", m.loadPercent);
    Append(out, "Physical Memory Total (MB)    : %d\n", Megabytes(m.physicalTotal));
    Append(out, "Physical Memory Avail (MB)    : %d\n", Megabytes(m.physicalAvail));
    Append(out, "Page File Total (MB)          : %d\n", Megabytes(m.pageFileTotal));
    Append(out, "Page File Avail (MB)          : %d\n", Megabytes(m.pageFileAvail));
    Append(out, "Address Space Total (MB)      : %d\n", Megabytes(m.addressSpaceTotal));
    Append(out, "Address Space Avail (MB)      : %d\n", Megabytes(m.addressSpaceAvail));
}

void FormatOs(const SSysInfo& info, std::string& out) {
    out += "\n";
    if (!info.os) {
        return;
    }
    const SSysOs& os = *info.os;
    Append(out, "Operating System Type         : %s\n", os.type.c_str());
    Append(out, "Operating System Version      : %d.%d\n", os.major, os.minor);
    Append(out, "Operating System Build        : %d\n", os.build & 0xFFFF);
    Append(out, "Operating System Info         : %s\n", os.info.c_str());
    Append(out, "Operating System Mode         : %s\n", os.debug ? "Debug" : "Release");
}

void FormatPixelFormat(int index, const SSysPixelFormat& p, std::string& out) {
    Append(out,
           "%-3d %1s%1s %1s%1s %1s%1s %1s%1s %1s%1s %1s %1s%1s "
           "%-8d%-8d%-8d%-8d%-8d%-8d%-8d%-8d%-8d%-8d%-8d%-8d\n",
           index, YesNo(p.drawToWindow), YesNo(p.drawToBitmap), YesNo(p.drawWithGdi),
           YesNo(p.drawWithOpenGl), YesNo(p.accelerated), YesNo(p.generic),
           YesNo(p.needsPalette), YesNo(p.needsSystemPalette), YesNo(p.doubleBuffered),
           YesNo(p.stereo), YesNo(p.swapLayerBuffers), YesNo(p.rgba), YesNo(p.colourIndex),
           p.colourBits, p.redBits, p.greenBits, p.blueBits, p.alphaBits, p.accumRedBits,
           p.accumGreenBits, p.accumBlueBits, p.accumAlphaBits, p.depthBits, p.stencilBits,
           p.auxBuffers);
}

void FormatOpenGl(const SSysInfo& info, std::string& out) {
    const SSysOpenGl& gl = info.openGl;
    out += "\n";
    Append(out, "OpenGL Vendor                 : %s\n", gl.vendor.c_str());
    Append(out, "OpenGL Version                : %s\n", gl.version.c_str());
    Append(out, "OpenGL Extensions             : %s\n", gl.extensions.c_str());
    Append(out, "OpenGL Renderer               : %s\n", gl.renderer.c_str());
    Append(out, "OpenGL GLU Version            : %s\n", gl.gluVersion.c_str());
    Append(out, "OpenGL GLU Extensions         : %s\n", gl.gluExtensions.c_str());
    if (gl.hasWindowContext) {
        Append(out, "OpenGL Current Pixel Format   : %d\n", gl.currentPixelFormat);
        Append(out, "OpenGL Screen Width           : %d\n", gl.screenWidth);
        Append(out, "OpenGL Screen Height          : %d\n", gl.screenHeight);
    }
    Append(out, "OpenGL Viewport Width         : %g\n", gl.viewportWidth);
    Append(out, "OpenGL Viewport Height        : %g\n", gl.viewportHeight);
    out += "\n";
    out += "Idx WB GO AG PG DS S RC #bits   #red    #green  #blue   #alpha  #redA   #greenA "
           "#blueA  #alphaA #dpth   #stenc. #auxBffr\n";
    if (gl.hasWindowContext) {
        for (size_t i = 0; i < gl.pixelFormats.size(); ++i) {
            FormatPixelFormat(static_cast<int>(i) + 1, gl.pixelFormats[i], out);
        }
    }
    out += "Idx WB GO AG PG DS I RC #indx   #red    #green  #blue   #alpha  #redA   #greenA "
           "#blueA  #alphaA #dpth   #stenc. #auxBffr\n";
    out += "    || || || || || | |+- Colorindex\n"
           "    || || || || || | +-- RGBA\n"
           "    || || || || || +---- Individual Layer Swap\n"
           "    || || || || |+------ Stereoscopic\n"
           "    || || || || +------- Double Bufferd\n"
           "    || || || |+--------- System Palette required\n"
           "    || || || +---------- Palette required\n"
           "    || || |+------------ Generic (Software)\n"
           "    || || +------------- Accelerated (Hardware)\n"
           "    || |+--------------- Draw using OpenGL\n"
           "    || +---------------- Draw using GDI\n"
           "    |+------------------ Draw to Bitmap\n"
           "    +------------------- Draw to Window\n";
}

} // namespace

std::string FormatSysInfo(const SSysInfo& info, uint32_t flags) {
    std::string out;
    FormatTime(info, out);
    if (flags & SysInfoSection::Host) {
        FormatHost(info, out);
    }
    if (flags & SysInfoSection::Memory) {
        FormatMemory(info, out);
    }
    if (flags & SysInfoSection::Os) {
        FormatOs(info, out);
    }
    if (flags & SysInfoSection::OpenGl) {
        FormatOpenGl(info, out);
    }
    return out;
}

bool WriteSysInfo(const std::string& path, uint32_t flags) {
    std::string target = path;
    if (target.empty()) {
        FileChoice choice;
        choice.save = true;
        choice.filter = "Textdatei (*.txt)|*.txt";
        choice.defaultExtension = "txt";
        std::optional<std::string> chosen = GetUserInterface().ChooseFile(choice);
        if (!chosen) {
            return false;
        }
        target = *chosen;
    }

    AtomicFile file;
    if (!file.Open(target)) {
        ShowMessage("Datei konnte nicht geöffnet werden", "", MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    std::string text = FormatSysInfo(ProbeSysInfo(flags), flags);
    CFileWrite writer;
    writer.Open(&file.GetFile(), static_cast<uint32_t>(-1), WriteFlags::CrLf);
    writer.PutString(text);
    bool written = writer.Close() && file.Commit();
    if (!written) {
        ShowMessage("Datei konnte nicht geöffnet werden", "", MsgButtons::Ok, MsgIcon::None);
    }
    return written;
}
