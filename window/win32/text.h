#pragma once

#include <string>
#include <string_view>

namespace veltrin {

// Our texts are UTF-8; Windows' wide calls take UTF-16.
std::wstring widen(std::string_view text);

} // namespace veltrin
