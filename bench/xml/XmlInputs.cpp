#include "XmlInputs.h"

namespace XmlInputs {

std::string updateReply(size_t bytes)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Updates result=\"0\" message=\"ok\">\n";
    for (int i = 0; out.size() < bytes; ++i) {
        std::string n = std::to_string(i);
        out += "  <Module name=\"Module" + n + "\" title=\"Module number " + n + "\" version=\"12.1." + n +
               ".1234\" size=\"" + std::to_string(1000 + i * 7) +
               "\" md5=\"0f343b0931126a20f133d67c2b018a3b\" url=\"https://dl.example.test/get?f=m" + n +
               ".vzip&amp;v=2\" type=\"2\" parent=\"Reader\" releasedate=\"2024-05-01\" upgradetip=\"Faster &amp; "
               "safer\" forced=\"0\" updatemode=\"1\" lang=\"en-US\" platform=\"mac\" edition=\"standard\"/>\n";
    }
    return out + "</Updates>\n";
}

std::string textHeavy(size_t bytes)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<notes>\n";
    const std::string sentence = "The reader opens documents quickly &amp; keeps annotations safe; caf\xC3\xA9 "
                                 "prices stay in \xE2\x82\xAC and notes wrap across lines without losing text. ";
    for (int i = 0; out.size() < bytes; ++i) {
        out += "<p id=\"" + std::to_string(i) + "\">";
        for (int s = 0; s < 6; ++s)
            out += sentence;
        out += "</p>\n";
    }
    return out + "</notes>\n";
}

std::string deeplyNested(size_t bytes)
{
    std::string out = "<root>";
    while (out.size() < bytes) {
        for (int depth = 0; depth < 200; ++depth)
            out += "<level d=\"" + std::to_string(depth) + "\">";
        out += "leaf";
        for (int depth = 0; depth < 200; ++depth)
            out += "</level>";
    }
    return out + "</root>";
}

} // namespace XmlInputs
