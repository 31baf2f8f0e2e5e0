#pragma once

#include "text/Texts.h"

namespace zav {

// Where the profile library shows its messages: the page binds it to the message box.
class Prompter {
public:
    virtual ~Prompter() = default;
    // A message with an OK button.
    virtual void tell(TextId text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(TextId text) = 0;
};

} // namespace zav
