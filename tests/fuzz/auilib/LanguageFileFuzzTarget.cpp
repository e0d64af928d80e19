#include "LanguageFileFuzzTarget.h"

#include "AUILibConfig.h"
#include "QtTSLoader.h"
#include "TranslationStringTable.h"
#include "Utf8Xml.h"

#include <string>

int readLanguageFileFuzzInput(const std::uint8_t* data, std::size_t size)
{
    static const bool configured = [] {
        AUILib::SetCurrentLanguage(L"de-DE", false);
        return true;
    }();
    (void)configured;

    rapidxml::xml_document<wchar_t> document;
    if (!AUILib::Utf8Xml::Parse(std::string(reinterpret_cast<const char*>(data), size), document))
        return -1;
    int taken = 0;
    const AUILib::QtTSLoader::Result unit = AUILib::QtTSLoader().ParseDoc(document, L"m");
    if (unit.first)
        taken += static_cast<int>(unit.first->ContextCount());
    AUILib::TranslationStringTable::Entries entries;
    AUILib::TranslationStringTable().ParseDocAndSaveStringTable(document, entries);
    return taken + static_cast<int>(entries.size());
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    readLanguageFileFuzzInput(data, size);
    return 0;
}
