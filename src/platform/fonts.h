#pragma once

#include <QString>

#include <future>

namespace velmora {

// Makes the screens' faces (Tahoma, Times New Roman, Arial) resolve to metric twins:
// registers the Tahoma that Debian ships with Wine (package fonts-wine); Times New Roman
// and Arial resolve through fontconfig's aliases for Liberation (fonts-liberation2).
// Returns the family it could not register, or an empty text.
QString registerScreenFonts();

// Reads the system's font configuration (its files and font cache: about 10 ms, the
// largest part of start-up) on another core, begun before the display is connected.
// Wait for it before the first font is used; otherwise both threads read it.
class FontConfigurationReadAhead
{
public:
    FontConfigurationReadAhead();
    ~FontConfigurationReadAhead() { wait(); }
    FontConfigurationReadAhead(const FontConfigurationReadAhead &) = delete;
    FontConfigurationReadAhead &operator=(const FontConfigurationReadAhead &) = delete;

    void wait();

private:
    std::future<void> m_read;
};

} // namespace velmora
