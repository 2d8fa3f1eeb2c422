#include "link_refusal.h"

#include <string>
#include <system_error>

namespace vestro {

Status LinkLeadsOutside(std::wstring_view tree, std::wstring_view link, std::wstring_view target) {
    std::wstring text = L"Could not copy the folder \"";
    text.append(tree).append(L"\": \"").append(link).append(L"\" is a link to \"");
    text.append(target).append(L"\", which lies outside it. Nothing has been changed.");
    return Status::Failure(std::make_error_code(std::errc::operation_not_permitted),
                           std::move(text));
}

}  // namespace vestro
