#include "tree_refusals.h"

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

Status FileWhereFolderBelongs(std::wstring_view folder) {
    std::wstring text = L"Could not read the folder \"";
    text.append(folder).append(L"\": it is a file, not a folder.");
    return Status::Failure(std::make_error_code(std::errc::not_a_directory), std::move(text));
}

}  // namespace vestro
