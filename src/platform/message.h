// A message the core wants the user to see: the exact text, title, icon and buttons of a modal
// message box. The core returns these; the application shows them, the CLI prints them and the
// tests compare them. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace kuvelt {

enum class MsgIcon { None, Information, Error, Question, Exclamation };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct Message {
    int32_t code = 0;  // failure code shown in the text, 0 when the message carries none
    std::string text;
    std::string title;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;

    bool operator==(const Message&) const = default;
};

}  // namespace kuvelt
