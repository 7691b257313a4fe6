#pragma once

class TaggedTabView;

// Asked by a TaggedTabView before the user switches its page.
class TabViewDelegate
{
public:
    virtual ~TabViewDelegate() = default;
    virtual bool tabViewShouldSelectTabViewItem(TaggedTabView *tabView, int index) = 0;
};
