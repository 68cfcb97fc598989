// Names Windows keeps for its devices, and the file names given instead to
// textures and frames that carry them.
//
// Windows opens a device, not a file, for CON, PRN, AUX, NUL, COM0 to COM9,
// LPT0 to LPT9 (the digits also as the superscripts 1, 2 and 3), CONIN$
// and CONOUT$, in any case, whatever extension follows and whatever spaces
// stand before the first dot: "con.png", "Nul .tga" and "aux..png" are all
// devices.  A game file may still name a texture or a frame so.
//
// The rule: a name that is a device name once every '_' in front of it is
// dropped gets one '_' more in front of it for its file ("con" is written
// as "_con.png", "_con" as "__con.png"); every other name keeps its file
// name.  So no two names share a file name, and the name comes back from
// the file by dropping that one '_': the export names a texture after its
// image so, and gives back the texture's own name.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Whether Windows takes a file of this name (extension and all) for a device.
bool NamesDevice(std::string_view fileName);

// The file stem of `name` by the rule above.
std::string DeviceSafeStem(std::string_view name);

// The name a file stem made by DeviceSafeStem stands for.
std::string NameOfStem(std::string_view stem);

// The texture an image names: its name without extension, by the rule
// above.  Every part of the system that names a texture after its image
// uses it.
std::string TextureNameOfImage(std::string_view imageName);

}  // namespace platform
