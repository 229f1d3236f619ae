#pragma once

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

// Where a bar's style draws one of its parts, in the bar's coordinates, as a
// mouse would find it.
inline QRect scrollBarPart(QScrollBar* scrollBar, QStyle::SubControl part)
{
    struct OptionReader : QScrollBar {
        using QScrollBar::initStyleOption;
    };
    QStyleOptionSlider option;
    (scrollBar->*&OptionReader::initStyleOption)(&option);
    return scrollBar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, scrollBar);
}
