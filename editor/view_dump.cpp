#include "editor/view_dump.h"

#include <sstream>

#include "editor/editor_state.h"
#include "editor/editor_view.h"
#include "editor/object_groups.h"
#include "editor/overview_map.h"
#include "platform/dump_text.h"

namespace {

std::string triple(int a, int b, int c) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}

} // namespace

std::string DescribeViewState(const ViewPanelFacts& panels) {
    std::ostringstream out;
    const auto add = [&](const std::string& key, const std::string& value) {
        out << key << '=' << EscapeDumpText(value) << '\n';
    };
    add("viewDistance", editor.viewDistance > 0 ? std::to_string(editor.viewDistance) : "whole");
    const ViewBox box = EditorViewBox();
    add("viewCells", triple(box.loX, box.loY, box.loZ) + "," + triple(box.hiX, box.hiY, box.hiZ));

    const OverviewMap map = BuildOverview();
    add("overviewLayer", std::to_string(map.layer));
    const std::vector<int> counts = OverviewCounts(map);
    std::string groups;
    for (int g = 0; g < kObjectGroupCount; ++g) {
        if (counts[static_cast<std::size_t>(g)] == 0) continue;
        if (!groups.empty()) groups += ';';
        groups += std::string(ObjectGroupName(static_cast<ObjectGroup>(g))) + ":" +
                  std::to_string(counts[static_cast<std::size_t>(g)]);
    }
    if (counts[kObjectGroupCount] > 0)
        groups += (groups.empty() ? "" : ";") + std::string("Unknown:") +
                  std::to_string(counts[kObjectGroupCount]);
    add("overviewGroups", groups);
    add("overviewSelector", std::to_string(map.selector.x) + "," + std::to_string(map.selector.z));
    add("overviewSentries", std::to_string(map.sentries.size()));

    add("warnings", std::to_string(panels.warningLines.size()));
    for (std::size_t i = 0; i < panels.warningLines.size(); ++i)
        add("warning" + std::to_string(i + 1), panels.warningLines[i]);
    add("objectGroup", panels.objectGroup);
    add("objectSearch", panels.objectSearch);
    add("objectsListed", std::to_string(panels.objectsListed));
    return out.str();
}
