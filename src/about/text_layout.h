// Breaking a static control's text into lines the way a Win32 static control does:
// at its line ends, and between words where a line would grow wider than the control.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace about {

// measure answers the width of a piece of text in pixels. A single word wider than the
// control keeps a line of its own (it is clipped, not split).
std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure);

}  // namespace about
