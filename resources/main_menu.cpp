// Menu 141: one popup "&File" with the settings command, a separator and the exit command.
#include "resource_builders.h"
#include "resource_constants.h"
#include "resource_writer.h"

namespace {

std::vector<uint8_t> Build() {
    ResourceWriter out;
    out.Word(0);  // template version
    out.Word(0);  // offset of the items after the header
    out.Word(MF_POPUP | MF_END);
    out.WideText("&File");
    out.Word(0);
    out.Word(40002);
    out.WideText("Config &display...\tF2");
    out.Word(0);  // separator: no flags, id 0, no text
    out.Word(0);
    out.WideText("");
    out.Word(MF_END);
    out.Word(40006);
    out.WideText("E&xit\tESC");
    return out.Take();
}

}  // namespace

const std::vector<uint8_t>& MainMenuTemplate() {
    static const std::vector<uint8_t> menu = Build();
    return menu;
}
