// LoadNavGraph: the level file's "NavGraph" element into the navigation
// graph. The graph is emptied on every load, so a level never inherits the
// nodes of the one before.
#include <cstdlib>

#include <tinyxml.h>

#include "aistuff/nav_graph.h"
#include "level.h"
#include "level/reader.h"
#include "object_pattern.h"
#include "system.h"

namespace {

void ReportBadEntry(const TiXmlElement& element, const std::string& what) {
    Module<System>::Instance()->Error(SOURCE_POS + "level file line " + std::to_string(element.Row()) +
                                      ": <" + element.ValueStr() + "> " + what + "; skipped\n");
}

void ReadNode(NavGraph& graph, const TiXmlElement& element) {
    GraphNode node;
    const char* trans = element.Attribute("trans");
    const char* radius = element.Attribute("radius");
    if (!level_reader::ReadInt(element, "ID", node.id) || !trans || !radius) {
        ReportBadEntry(element, "needs a whole-number \"ID\", \"trans\" and \"radius\"");
        return;
    }
    node.trans = StringToVector(trans);
    node.radius = StringToFloat(radius);
    graph.AddNode(node);
}

void ReadBidirectionalEdge(NavGraph& graph, const TiXmlElement& element) {
    int from = 0, to = 0;
    if (!level_reader::ReadInt(element, "id1", from) || !level_reader::ReadInt(element, "id2", to)) {
        ReportBadEntry(element, "needs whole-number \"id1\" and \"id2\"");
        return;
    }
    graph.AddBidirectionalEdge(from, to);
}

}  // namespace

float StringToFloat(const std::string& text) { return float(std::atof(text.c_str())); }

void LoadNavGraph(NavGraph& graph, const TiXmlElement& root) {
    const TiXmlElement* nav = root.FirstChildElement("NavGraph");
    graph.Clear();
    if (!nav) {
        Module<System>::Instance()->Error(SOURCE_POS + "NavGraph not found in level file!\n");
        return;
    }
    for (const TiXmlElement* element = nav->FirstChildElement(); element;
         element = element->NextSiblingElement()) {
        const std::string& tag = element->ValueStr();
        if (tag == "GraphNode") ReadNode(graph, *element);
        if (tag == "BidirectionalEdge") ReadBidirectionalEdge(graph, *element);
        // One-way "Edge" elements join nothing: the graph has no one-way edge.
    }
}
