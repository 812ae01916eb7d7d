// The guarded XML loader: hostile files found by fuzzing, the checks that
// stand before TinyXML, and a differential fuzz holding the structure check
// to what TinyXML really builds.
#include <gtest/gtest.h>

#include <tinyxml.h>

#include <random>
#include <utility>
#include <vector>

#include "resource_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "xml_file.h"

namespace {

using test_support::TempFolder;

const std::string kHostile = std::string(QUELL_SOURCE_DIR) + "/tests/fixtures/hostile/xml/";

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    while (times-- > 0) text += piece;
    return text;
}

bool Accepts(const std::string& text, int limit = kMaxXmlDepth) {
    std::string reason;
    return CheckXmlEncoding(text, reason) && CheckXmlStructure(text, limit, reason);
}

// The deepest element nesting TinyXML built (what the fuzz accepts is short,
// so the recursion stays shallow).
int BuiltDepth(const TiXmlNode& node) {
    int deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling())
        deepest = std::max(deepest, BuiltDepth(*child));
    return deepest + (node.ToElement() != nullptr);
}

TEST(XmlFile, HostileFilesAreRefusedByTheRegistryReaderAndLeaveItsEntries) {
    TempFolder folder;
    folder.WriteFile("good.xml", "<registry><e registry=\"tex_a\" file=\"a.png\"/></registry>");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/good.xml").c_str());
    for (const char* name : {"depth-underflow.xml", "unknown-node-quote.xml", "declaration-quote.xml",
                             "utf8-lead-at-end.xml"}) {
        test_support::LogCapture log;
        store.LoadRegistry((kHostile + name).c_str());
        EXPECT_TRUE(log.Has("can't load file " + kHostile + name)) << log.Text();
        EXPECT_TRUE(log.Has(kHostile + name + ": ")) << "the reason names the file";
        EXPECT_EQ(store.RegistryEntries().size(), 1u) << name;
    }
}

TEST(XmlFile, FullSizeDeepFilesAreRefusedBeforeParsing) {
    TempFolder folder;
    const int n = 100000;  // deep enough to break the stack of a release build
    const std::string nest = Repeat("<a>", n) + Repeat("</a>", n);
    const std::string cases[] = {
        "<?xml version=\"1.0\" ?>\n" + Repeat("</a>", n) + "<a>" + Repeat("<a>", n),
        "<?xml version=\"1.0\" ?>\n" + nest,
        "<?xml version=\"><!--\"?>" + nest,
        "<'>" + nest,
        // TinyXML takes "&#x ... x;" as one character reference, tags and all,
        // so each <a> here stays open.
        "<r>" + Repeat("<a>&#x</a>x;", n) + "</r>",
    };
    for (const std::string& text : cases) {
        folder.WriteFile("deep.xml", text);
        TiXmlDocument document;
        std::string reason;
        EXPECT_FALSE(LoadXmlFile(document, folder.Path() + "/deep.xml", reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(document.FirstChild(), nullptr) << "never handed to TinyXML";
    }
}

TEST(XmlFile, EncodingCheck) {
    const std::pair<std::string, bool> cases[] = {
        {"<a>caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82</a>", true},
        {"\xEF\xBB\xBF<a/>", true},              // a leading byte-order mark
        {"<a>\xEF\xBB\xBF</a>", false},          // one further on
        {"<a>\xEF\xBF\xBF</a>", false},          // U+FFFF
        {"<a>\xC3</a>", false},                  // cut short
        {"<?xml><h>\xF1", false},                // cut short at the end
        {"<a>\xC0\xAF</a>", false},              // overlong
        {"<a>\xED\xA0\x80</a>", false},          // a surrogate
        {"<a>\xF4\x90\x80\x80</a>", false},      // past U+10FFFF
        {"<a>\xE9t\xE9</a>", false},             // Latin-1
        {std::string("<a>\0</a>", 8), false},
    };
    for (const auto& [text, valid] : cases) {
        std::string reason;
        EXPECT_EQ(CheckXmlEncoding(text, reason), valid) << text;
    }
}

TEST(XmlFile, StructureCheckFollowsTinyXmlsGrammar) {
    const std::pair<std::string, bool> cases[] = {
        {"<?xml version=\"1.0\" encoding='UTF-8'?>\n<!DOCTYPE r><r a=\"1\" b='<x>' c=d>\n"
         "<!-- <x><y> --><![CDATA[<x><y>]]><?pi <x>?>text &amp; &#65; &#x41;<e/><f></f ></r >", true},
        {"<?xml version=\"a>b\"?><r/>", true},  // the declaration's own attribute is quoted
        {"<r><a><b></b></a></r>", true},
        {"", true},                             // left to TinyXML to report
        {"<r></s>", false},
        {"<r><a></r></a>", false},
        {"</r><r/>", false},
        {"<'><r/>", false},
        {"<r/>trailing", false},
        {"<r a=\"1/>", false},
        {"<r a=b\"c\"/>", false},
        {"<r a/>", false},
        {"<r><!-- open </r>", false},
        {"<r>&#x<q/>;</r>", false},             // a reference over a tag must be hex digits
        {"<r>&#12a;</r>", false},
        {"<r", false},
        {"<r>", false},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(Accepts(text), valid) << text;
    EXPECT_TRUE(Accepts(Repeat("<a>", 256) + Repeat("</a>", 256)));
    EXPECT_FALSE(Accepts(Repeat("<a>", 257) + Repeat("</a>", 257)));
    EXPECT_TRUE(Accepts("<r>" + Repeat("<a/>", 1000) + "</r>")) << "siblings do not nest";
}

// Token splices that mix every construct the check must follow; whenever it
// accepts at a small limit, what TinyXML builds is no deeper.
TEST(XmlFile, DifferentialFuzzAcceptsNothingTinyXmlNestsDeeper) {
    const char* tokens[] = {"<a>", "</a>", "<b x='1'>", "</b>", "<!--", "-->", "\"", "'", "<?xml",
                            "<?xml version=\"", "&#x", "x;", "&#", "#1;", ">", "<![CDATA[", "]]>", "<!",
                            "<'", "/>", "=", " ", "<c/>", "?>", "encoding=", "<a b=\"", "\">", "&amp;",
                            ";", "x", "<", "<?", "\n", "\xC3\xA9"};
    const int limit = 3, cases = 100000;
    std::mt19937 rng(13);
    int accepted = 0;
    for (int i = 0; i < cases; ++i) {
        std::string text;
        for (int k = int(rng() % 30); k > 0; --k) text += tokens[rng() % std::size(tokens)];
        if (!Accepts(text, limit)) continue;
        ++accepted;
        TiXmlDocument document;
        document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        ASSERT_LE(BuiltDepth(document), limit) << text;
    }
    EXPECT_GT(accepted, cases / 100);
}

}  // namespace
