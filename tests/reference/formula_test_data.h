// A small formula base for the formula windows' tests (five formulas, one an imported
// row with Null notes, one with an apostrophe in its name and composition), two herbs
// their compositions name, and the mouse gesture of the herb look-up.
#pragma once

#include "support/test_environment.h"

#include "platform/forms/textbox.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

namespace formulatest {

inline void seed(const TestEnvironment& env)
{
    env.insert("zyfj", {"四物汤", "当归、川芎、白芍、熟地黄", "补血调血", "营血虚滞", "水煎服", "和剂局方", "月经不调", "王医生"});
    env.insert("zyfj", {"四君子汤", "人参、白术、茯苓、甘草", "益气健脾", "脾胃气虚", "水煎服", "和剂局方", "食少便溏", "王医生"});
    env.insert("zyfj", {"八珍汤", "人参、白术、茯苓、甘草、当归、川芎、白芍、熟地黄", "益气补血", "气血两虚", "水煎服",
                        "正体类要", "面色苍白", "王医生"});
    env.insert("zyfj", {"逍遥散", "柴胡、当归、白芍、白术、茯苓、甘草", "疏肝解郁", "肝郁血虚", "为散", "和剂局方"});
    env.insert("zyfj", {"王氏'清暑益气汤", "西洋参、石斛*、麦冬'", "清暑益气", "暑热气津两伤", "水煎服", "温热经纬", "  "});
    env.insert("zyyc", {"当归", "肝、心、脾经", "甘、辛，温", "补血活血", "血虚萎黄", "煎服", "湿盛中满者慎用", "补血圣药"});
    env.insert("zyyc", {"石斛*", "胃、肾经", "甘，微寒", "益胃生津", "热病津伤", "煎服", "  ", "  "});
}

// Marks `length` characters from `start` in the composition box, then presses and
// releases `button` over it, or (with `drag`) moves the mouse over it holding `button`.
inline void markAndUse(forms::TextBox* box, int start, int length, Qt::MouseButton button, bool drag = false)
{
    box->setSelStart(start);
    box->setSelLength(length);
    QWidget* viewport = box->plainTextEdit()->viewport();
    const QPointF at(10, 10);
    if (drag) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, button, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        return;
    }
    QTest::mousePress(viewport, button, {}, at.toPoint());
    QTest::mouseRelease(viewport, button, {}, at.toPoint());
}

}  // namespace formulatest
