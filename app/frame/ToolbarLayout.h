// Checks a saved toolbar layout (a wxAUI perspective) before the main frame applies it: only a
// layout that names exactly the frame's panes, keeps the document area in the centre and
// visible, and holds sane numbers is used; anything else (damaged, edited, or from another
// version of the program) is ignored and the first-start layout stays.
#pragma once

#include <string>
#include <vector>

// paneNames: every pane of the frame, each of which the layout must name exactly once;
// centrePane: the document area among them.
bool IsUsableToolbarLayout(const std::string& layout, const std::vector<std::string>& paneNames,
                           const std::string& centrePane);
