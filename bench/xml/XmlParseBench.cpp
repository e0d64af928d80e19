// Parse to a tree, visit every element and attribute, free: the core library's parser against
// pugixml, rapidxml, libxml2, expat (building a tree of the same shape) and QDomDocument.
#include "HeapMeter.h"
#include "XmlInputs.h"

#include "memory/CZRMEM_PyMgr.h"
#include "xml/CZR_XMLElement.h"

#include <QByteArray>
#include <QDomDocument>
#include <benchmark/benchmark.h>
#include <expat.h>
#include <libxml/parser.h>
#include <pugixml.hpp>
#include <rapidxml/rapidxml.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

// What a walk found: elements, attributes, and the length of every attribute value.
struct Tally
{
    size_t elements = 0;
    size_t attributes = 0;
    size_t valueLength = 0;
};

const std::string& input(int which)
{
    static const std::string inputs[] = {
        XmlInputs::updateReply(10 * 1024),
        XmlInputs::updateReply(10 * 1024 * 1024),
        XmlInputs::textHeavy(4 * 1024 * 1024),
        XmlInputs::deeplyNested(4 * 1024 * 1024),
    };
    return inputs[which];
}

const char* inputName(int which)
{
    static const char* names[] = {"reply_10KB", "reply_10MB", "text_4MB", "nested_4MB"};
    return names[which];
}

void walkCore(const CZR_XMLElement* element, Tally& tally)
{
    ++tally.elements;
    const CZR_XMLAttrMap& attrs = element->GetAttrMap();
    for (int i = 0; i < attrs.GetSize(); ++i) {
        ++tally.attributes;
        tally.valueLength += size_t(attrs.GetAt(i)->value.GetLength());
    }
    for (unsigned i = 0; i < element->CountChildren(); ++i) {
        if (const CZR_XMLElement* child = element->GetElement(i))
            walkCore(child, tally);
    }
}

Tally parseCoreWith(const std::string& text, _IZR_Allocator* allocator)
{
    Tally tally;
    CZR_XMLElement* root = CZR_XMLElement::Parse(text.data(), text.size(), false, nullptr, allocator, false, false);
    if (root)
        walkCore(root, tally);
    CZR_XMLElement::Destroy(root);
    return tally;
}

// The default manager, as the updater parses.
Tally parseCore(const std::string& text) { return parseCoreWith(text, nullptr); }

// The same tree from the library's small-object allocator, handed over as the parse's allocator.
Tally parseCoreSmallObjects(const std::string& text)
{
    static _IZR_Allocator* allocator = &ZRMEM_CreatePyMgr()->allocator;
    return parseCoreWith(text, allocator);
}

void walkPugi(const pugi::xml_node& node, Tally& tally)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        ++tally.elements;
        for (pugi::xml_attribute attr = child.first_attribute(); attr; attr = attr.next_attribute()) {
            ++tally.attributes;
            tally.valueLength += strlen(attr.value());
        }
        walkPugi(child, tally);
    }
}

Tally parsePugi(const std::string& text)
{
    Tally tally;
    pugi::xml_document document;
    if (document.load_buffer(text.data(), text.size()))
        walkPugi(document, tally);
    return tally;
}

void walkRapid(rapidxml::xml_node<>* node, Tally& tally)
{
    for (rapidxml::xml_node<>* child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        ++tally.elements;
        for (rapidxml::xml_attribute<>* attr = child->first_attribute(); attr; attr = attr->next_attribute()) {
            ++tally.attributes;
            tally.valueLength += attr->value_size();
        }
        walkRapid(child, tally);
    }
}

// rapidxml parses in place, so the copy it needs is part of its cost.
Tally parseRapid(const std::string& text)
{
    Tally tally;
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back(0);
    rapidxml::xml_document<> document;
    document.parse<0>(copy.data());
    walkRapid(&document, tally);
    return tally;
}

void walkLibxml(xmlNode* node, Tally& tally)
{
    for (xmlNode* child = node; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        ++tally.elements;
        for (xmlAttr* attr = child->properties; attr; attr = attr->next) {
            ++tally.attributes;
            if (attr->children && attr->children->content)
                tally.valueLength += strlen(reinterpret_cast<const char*>(attr->children->content));
        }
        walkLibxml(child->children, tally);
    }
}

Tally parseLibxml(const std::string& text)
{
    Tally tally;
    xmlDoc* document = xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (document) {
        walkLibxml(xmlDocGetRootElement(document), tally);
        xmlFreeDoc(document);
    }
    return tally;
}

struct ExpatNode
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<ExpatNode>> children;
    std::string text;
};

struct ExpatBuilder
{
    std::unique_ptr<ExpatNode> root;
    std::vector<ExpatNode*> open;

    static void start(void* data, const XML_Char* name, const XML_Char** attrs)
    {
        auto* self = static_cast<ExpatBuilder*>(data);
        auto node = std::make_unique<ExpatNode>();
        node->name = name;
        for (int i = 0; attrs[i]; i += 2)
            node->attributes.emplace_back(attrs[i], attrs[i + 1]);
        ExpatNode* raw = node.get();
        if (self->open.empty())
            self->root = std::move(node);
        else
            self->open.back()->children.push_back(std::move(node));
        self->open.push_back(raw);
    }
    static void end(void* data, const XML_Char*) { static_cast<ExpatBuilder*>(data)->open.pop_back(); }
    static void text(void* data, const XML_Char* s, int length)
    {
        auto* self = static_cast<ExpatBuilder*>(data);
        if (!self->open.empty())
            self->open.back()->text.append(s, size_t(length));
    }
};

void walkExpat(const ExpatNode& node, Tally& tally)
{
    ++tally.elements;
    for (const auto& attr : node.attributes) {
        ++tally.attributes;
        tally.valueLength += attr.second.size();
    }
    for (const auto& child : node.children)
        walkExpat(*child, tally);
}

Tally parseExpat(const std::string& text)
{
    Tally tally;
    ExpatBuilder builder;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &builder);
    XML_SetElementHandler(parser, ExpatBuilder::start, ExpatBuilder::end);
    XML_SetCharacterDataHandler(parser, ExpatBuilder::text);
    if (XML_Parse(parser, text.data(), int(text.size()), 1) == XML_STATUS_OK && builder.root)
        walkExpat(*builder.root, tally);
    XML_ParserFree(parser);
    return tally;
}

void walkDom(const QDomElement& element, Tally& tally)
{
    ++tally.elements;
    QDomNamedNodeMap attrs = element.attributes();
    for (int i = 0; i < attrs.count(); ++i) {
        ++tally.attributes;
        tally.valueLength += size_t(attrs.item(i).nodeValue().size());
    }
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        walkDom(child, tally);
}

Tally parseDom(const std::string& text)
{
    Tally tally;
    QDomDocument document;
    if (document.setContent(QByteArray::fromRawData(text.data(), int(text.size()))))
        walkDom(document.documentElement(), tally);
    return tally;
}

template <Tally (*Parse)(const std::string&)> void run(benchmark::State& state)
{
    const std::string& text = input(int(state.range(0)));
    state.SetLabel(inputName(int(state.range(0))));
    HeapMeter::start();
    Tally tally = Parse(text);
    HeapMeter::stop();
    double peak = double(HeapMeter::peak());
    if (tally.elements == 0)
        state.SkipWithError("parse failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(Parse(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["peak_heap_x_input"] = peak / double(text.size());
    state.counters["elements"] = double(tally.elements);
    state.counters["attributes"] = double(tally.attributes);
}

#define XML_BENCHMARK(function) BENCHMARK_TEMPLATE(run, function)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)

XML_BENCHMARK(parseCore);
XML_BENCHMARK(parseCoreSmallObjects);
XML_BENCHMARK(parsePugi);
XML_BENCHMARK(parseRapid);
XML_BENCHMARK(parseLibxml);
XML_BENCHMARK(parseExpat);
XML_BENCHMARK(parseDom);

} // namespace

BENCHMARK_MAIN();
