// The window titled "总览": the whole range in small (view/overview.h), opened and closed by
// M. A click or a drag in it centres the main view on the hex under the pointer. It follows
// the record and the view, and is drawn again only after a pass in which something it shows
// may have changed.
#pragma once

// M: opens it, or closes it when it is open.
void ToggleOverview();
bool OverviewOpen();
// One pass of the main loop: notes a close by the user, takes its clicks and drags, and, when
// `changed` (an action ran on this pass: something it shows may differ) or its clicks scrolled
// the view, draws it again and shows the picture when it differs from the one shown.
void RunOverview(bool changed);
void CloseOverview();
