#include "section/install_lines.h"

#include <cctype>

namespace section {
namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

// The game reads its IMG and IDE lines until the first IPL line, where it
// matches model names, reads the archives and their collisions: our IMG
// and IDE must come before it, our IPL among the other IPL lines.
std::string InstallInstructions(const std::string& name) {
  const std::string upper = Upper(name);
  return "Installing the map section " + name + " in San Andreas (PC)\n"
         "\n"
         "1. Copy " + name + ".img into the game's models folder, and " + name + ".ide and " + name +
         ".ipl into a new folder data\\maps\\" + name + ".\n"
         "\n"
         "2. In data\\gta.dat, add these two lines after the IMG lines at its top and before its first IPL "
         "line:\n"
         "\n"
         "IMG MODELS\\" + upper + ".IMG\n"
         "IDE DATA\\MAPS\\" + upper + "\\" + upper + ".IDE\n"
         "\n"
         "   and this line among its IPL lines (after \"IPL DATA\\MAPS\\...\" lines is fine):\n"
         "\n"
         "IPL DATA\\MAPS\\" + upper + "\\" + upper + ".IPL\n"
         "\n"
         "With a mod loader instead, leave gta.dat as it is and copy " + name + ".img, " + name + ".ide and " +
         name + ".ipl into a new folder modloader\\" + name + "; it loads IDE and IPL files without gta.dat "
         "lines.\n"
         "\n"
         "The game holds at most two archives beyond its own and about 40 IPL files with instances; the "
         "collision of every model is in " + name + ".col inside the archive, which the game finds by itself.\n";
}

}  // namespace section
