// Parses arbitrary bytes as skin markup (the first byte picks the encoding)
// and walks the resulting tree, reading every attribute.
#include "markup.h"

#include <cstddef>
#include <cstdint>
#include <cwchar>

namespace {

size_t Walk(const SkinUI::CMarkupNode& node, int depth)
{
    size_t total = 0;
    for (SkinUI::CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        total += wcslen(child.GetName()) + wcslen(child.GetValue());
        for (int i = 0; i < child.GetAttributeCount(); ++i) {
            total += wcslen(child.GetAttributeName(i)) + wcslen(child.GetAttributeValue(i));
        }
        total += wcslen(child.GetAttributeValue(L"name"));
        total += child.GetChild(L"Font").IsValid() ? 1 : 0;
        if (depth < 64) {
            total += Walk(child, depth + 1);
        }
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    SkinUI::CMarkup doc;
    doc.SetPreserveWhitespace((data[0] & 4) != 0);
    if (doc.LoadFromMem(data + 1, static_cast<uint32_t>(size - 1), data[0] % 3)) {
        SkinUI::CMarkupNode root = doc.GetRoot();
        volatile size_t sink = root.IsValid() ? wcslen(root.GetName()) + Walk(root.GetParent(), 0) : 0;
        for (int i = 0; root.IsValid() && i < root.GetAttributeCount(); ++i) {
            sink = sink + wcslen(root.GetAttributeValue(i));
        }
        sink = sink + (root.IsValid() ? Walk(root, 0) : 0);
        (void)sink;
    }
    return 0;
}
