// The real window on Qt (offscreen): layout from the template, captions that
// fit, keyboard order, radio groups, fixed size, names for screen readers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "fw/qt/qt_backend.h"
#include "res/resources.h"
#include "tests/test_util.h"
#include "ui/converter_dialog.h"

namespace {

testutil::TempDir* g_root = nullptr;

class TestQtBackend : public fw::qt::QtBackend {
public:
    using QtBackend::QtBackend;
    std::string ProgramFilePath() override { return g_root->path() + "/tandrel"; }
    std::optional<std::string> DocumentsFolder() override { return g_root->path(); }
    std::string HomeFolder() override { return g_root->path(); }
    std::string ConfigFolder() override { return g_root->path(); }
    // Addresses are recorded, not handed to a browser.
    bool OpenDocument(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    std::vector<std::string> opened;
};

// One Qt application for the whole test program.
TestQtBackend& Backend() {
    static int argc = 1;
    static char name[] = "window_tests";
    static char* argv[] = {name, nullptr};
    static testutil::TempDir root;
    g_root = &root;
    // Never destroyed: Qt's own clean-up at exit must not outlive it.
    static TestQtBackend* backend = new TestQtBackend(argc, argv);
    return *backend;
}

// Opens the main window, runs `check` once it is shown, then closes it.
void WithWindow(const std::function<void(CConverterDialog&, QWidget&)>& check) {
    Backend();
    CConverterDialog dlg;
    QTimer::singleShot(0, [&] {
        QWidget* window = fw::qt::QtBackend::WindowOf(dlg);
        if (window == nullptr) {
            ADD_FAILURE() << "no window";
        } else {
            check(dlg, *window);
        }
        dlg.EndDialog(fw::IDCANCEL);
    });
    dlg.DoModal();
}

struct Units {
    int x, y;
};

Units UnitsOf(const QWidget& window) {
    const QFontMetrics fm(window.font());
    const int letters =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, fm.height()};
}

QString Plain(const char* caption) { return QString::fromStdString(res::StripMnemonic(caption)); }

}  // namespace

TEST(QtWindow, EveryControlWithItsCaptionAndPlace) {
    WithWindow([](CConverterDialog& dlg, QWidget& window) {
        const res::DialogTemplate& t = *res::FindDialogTemplate(102);
        const Units u = UnitsOf(window);
        EXPECT_EQ(window.windowTitle(), "Quillet Tarnwick v1.5");
        EXPECT_EQ(window.size(), QSize(322 * u.x / 4, 340 * u.y / 8));
        EXPECT_FALSE(window.windowIcon().isNull());
        const auto children = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        int statics = 0;
        for (const res::ControlTemplate& c : t.controls) {
            SCOPED_TRACE(c.caption);
            QWidget* w = c.id >= 0 ? fw::qt::QtBackend::ControlOf(dlg, c.id) : nullptr;
            if (c.id < 0) {  // find the static text or group box by its caption
                for (QWidget* child : children) {
                    auto* l = qobject_cast<QLabel*>(child);
                    auto* g = qobject_cast<QGroupBox*>(child);
                    if ((l && l->text() == Plain(c.caption)) || (g && g->title() == c.caption)) w = child;
                }
                ++statics;
            }
            ASSERT_NE(w, nullptr);
            const QRect expected(c.x * u.x / 4, c.y * u.y / 8, c.cx * u.x / 4, c.cy * u.y / 8);
            EXPECT_EQ(w->x(), expected.x());
            EXPECT_EQ(w->y(), expected.y());
            EXPECT_EQ(w->width(), expected.width());
            if (c.kind != res::ControlKind::ComboDropList) {
                EXPECT_EQ(w->height(), expected.height());
            } else {
                EXPECT_LE(w->height(), expected.height());  // the template includes the list
            }
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                EXPECT_EQ(b->text(), c.caption);
            }
            EXPECT_EQ(w->isHidden(), (c.flags & res::kHidden) != 0);
        }
        EXPECT_EQ(statics, 7);  // five static texts and two group boxes
    });
}

TEST(QtWindow, EveryCaptionIsFullyVisible) {
    WithWindow([](CConverterDialog&, QWidget& window) {
        for (QWidget* w : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isHidden()) continue;
            const QFontMetrics fm(w->font());
            QString text;
            int extra = 0;
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                text = b->text().remove('&');
                const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
                const bool check = !radio && b->isCheckable();
                if (radio || check) {
                    extra = w->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth
                                                          : QStyle::PM_IndicatorWidth) +
                            w->style()->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                                          : QStyle::PM_CheckBoxLabelSpacing);
                } else {
                    extra = 8;  // the button's frame
                }
            } else if (auto* l = qobject_cast<QLabel*>(w)) {
                text = l->text();
            } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
                text = e->text();
                extra = 6;
            } else {
                continue;
            }
            SCOPED_TRACE(text.toStdString());
            EXPECT_LE(fm.horizontalAdvance(text) + extra, w->width());
            EXPECT_LE(fm.height(), w->height());
        }
    });
}

TEST(QtWindow, TabOrderFollowsTheTemplateAndSkipsRadiosAndHiddenControls) {
    WithWindow([](CConverterDialog& dlg, QWidget&) {
        QWidget* first = fw::qt::QtBackend::ControlOf(dlg, IDC_ADD);
        ASSERT_NE(first, nullptr);
        std::vector<int> order;
        QWidget* w = first;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() &&
                w->objectName().startsWith("ctl_")) {
                order.push_back(w->objectName().mid(4).toInt());
            }
            w = w->nextInFocusChain();
        } while (w != first && order.size() < 50);
        EXPECT_EQ(order, (std::vector<int>{1000, 1002, 1003, 1004, 1005, 1009, 1010, 1016, 1024,
                                           1023, 1037, 1045}));
        EXPECT_EQ(first->window()->focusWidget(), first);  // where the keyboard starts
    });
}

TEST(QtWindow, RadioGroupsExcludeWithinAndNotAcross) {
    WithWindow([](CConverterDialog& dlg, QWidget&) {
        auto button = [&](int id) {
            return qobject_cast<QAbstractButton*>(fw::qt::QtBackend::ControlOf(dlg, id));
        };
        button(IDC_DEFAULTSETTINGS)->click();  // untick: the channel buttons can be used
        EXPECT_TRUE(button(IDC_MONO)->isEnabled());
        button(IDC_MONO)->click();
        EXPECT_TRUE(button(IDC_MONO)->isChecked());
        EXPECT_FALSE(button(IDC_STEREO)->isChecked());
        button(IDC_OVERWRITE)->click();
        EXPECT_TRUE(button(IDC_OVERWRITE)->isChecked());
        EXPECT_FALSE(button(IDC_AUTORENAME)->isChecked());
        EXPECT_FALSE(button(IDC_SKIP)->isChecked());
        EXPECT_TRUE(button(IDC_MONO)->isChecked());  // the other group is untouched
        button(IDC_SKIP)->click();
        EXPECT_FALSE(button(IDC_OVERWRITE)->isChecked());
        EXPECT_EQ(dlg.m_radSkip.GetCheck(), 1);
    });
}

TEST(QtWindow, CannotBeResized) {
    WithWindow([](CConverterDialog&, QWidget& window) {
        const QSize size = window.size();
        EXPECT_EQ(window.minimumSize(), size);
        EXPECT_EQ(window.maximumSize(), size);
        EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        window.resize(size * 2);
        EXPECT_EQ(window.size(), size);
    });
}

TEST(QtWindow, ScreenReadersHearEveryControlByName) {
    WithWindow([](CConverterDialog& dlg, QWidget&) {
        const std::pair<int, const char*> names[] = {
            {IDC_ADD, "Add Flv File(s)"},    {IDC_START, "Start Converting"},
            {IDC_EXIT, "Exit"},              {IDC_OUTPUTDIR, "Output Directory"},
            {IDC_JOBLIST, "Files"},          {IDC_AUTORENAME, "Auto rename"},
            {IDC_DEFAULTSETTINGS, "Default settings"}, {IDC_PROGRESS, "Progress"},
        };
        for (const auto& [id, name] : names) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(fw::qt::QtBackend::ControlOf(dlg, id));
            ASSERT_NE(a, nullptr) << id;
            EXPECT_EQ(a->text(QAccessible::Name).toStdString(), name);
        }
        // The drop-down lists are read with their value and labelled by the
        // text before them.
        for (const auto& [id, label] : {std::pair{IDC_BITRATE, "Bitrate:"}, {IDC_FREQUENCY, "Frequency:"}}) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(fw::qt::QtBackend::ControlOf(dlg, id));
            ASSERT_NE(a, nullptr);
            const auto relations = a->relations(QAccessible::Label);
            ASSERT_EQ(relations.size(), 1) << id;
            EXPECT_EQ(relations[0].first->text(QAccessible::Name).toStdString(), label);
        }
        // A caption that changes is read anew.
        dlg.m_btnStart.SetWindowText("&Stop");
        EXPECT_EQ(QAccessible::queryAccessibleInterface(fw::qt::QtBackend::ControlOf(dlg, IDC_START))
                      ->text(QAccessible::Name)
                      .toStdString(),
                  "Stop");
    });
}

TEST(QtWindow, ClosingFromTheKeyboardAndTheCloseBox) {
    Backend();
    for (int way = 0; way < 2; ++way) {
        CConverterDialog dlg;
        QTimer::singleShot(0, [&] {
            QWidget* window = fw::qt::QtBackend::WindowOf(dlg);
            if (way == 0) {
                // Escape goes to the window as Cancel.
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(window, &esc);
            } else {
                window->close();  // the close box
            }
        });
        QTimer safetyNet;  // ends the run if the window ignored the user
        safetyNet.setSingleShot(true);
        QObject::connect(&safetyNet, &QTimer::timeout, [&] { dlg.EndDialog(-2); });
        safetyNet.start(2000);
        EXPECT_EQ(dlg.DoModal(), fw::IDCANCEL) << way;
    }
}

namespace {

// How many pixels of the widget are exactly this colour.
int PixelsOf(QWidget* w, QColor colour) {
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    }
    return n;
}

}  // namespace

TEST(QtWindow, TheLinkIsBlueUnderlinedRedUnderThePointerAndOpensItsAddress) {
    WithWindow([](CConverterDialog& dlg, QWidget& window) {
        QWidget* link = fw::qt::QtBackend::ControlOf(dlg, IDC_LINK);
        ASSERT_NE(link, nullptr);
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor);
        EXPECT_GT(PixelsOf(link, Qt::blue), 0);
        EXPECT_EQ(PixelsOf(link, Qt::red), 0);
        // Drawn on the window's own background.
        EXPECT_GT(PixelsOf(link, window.palette().color(QPalette::Window)), 0);

        const QPointF inside(5, 5);
        QEnterEvent enter(inside, link->mapToGlobal(inside), link->mapToGlobal(inside));
        QApplication::sendEvent(link, &enter);
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_GT(PixelsOf(link, Qt::red), 0);
        EXPECT_EQ(PixelsOf(link, Qt::blue), 0);

        QMouseEvent press(QEvent::MouseButtonPress, inside, link->mapToGlobal(inside), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, inside, link->mapToGlobal(inside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(link, &press);
        QApplication::sendEvent(link, &release);
        EXPECT_EQ(Backend().opened, std::vector<std::string>{"http://www.quillet.example"});

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        EXPECT_GT(PixelsOf(link, Qt::blue), 0);
        EXPECT_EQ(PixelsOf(link, Qt::red), 0);
        Backend().opened.clear();
    });
}

TEST(QtWindow, AboutBoxOverTheWindowClosesWithEnter) {
    WithWindow([](CConverterDialog& dlg, QWidget& window) {
        bool checked = false;
        QTimer::singleShot(0, [&] {
            QWidget* about = QApplication::activeModalWidget();
            if (about == nullptr) {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (w->isVisible() && w->windowTitle() == "About") about = w;
                }
            }
            if (about == nullptr) {
                ADD_FAILURE() << "no About box";
                return;
            }
            checked = true;
            EXPECT_EQ(about->windowTitle(), "About");
            EXPECT_LE((about->frameGeometry().center() - window.frameGeometry().center())
                          .manhattanLength(),
                      2);
            QStringList texts;
            for (auto* l : about->findChildren<QLabel*>()) {
                if (!l->text().isEmpty()) texts << l->text();
            }
            EXPECT_TRUE(texts.contains("Tarnwick v1.5"));
            EXPECT_TRUE(texts.contains("Copyright (C) 2026 Quillet"));
            EXPECT_TRUE(texts.contains("www.quillet.example"));
            int icons = 0;
            for (auto* l : about->findChildren<QLabel*>()) icons += !l->pixmap().isNull();
            EXPECT_EQ(icons, 1);
            auto* ok = about->findChild<QPushButton*>("ctl_1");
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(ok->text(), "OK");
            EXPECT_TRUE(ok->isDefault());
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(about, &enter);
        });
        dlg.SendMessage(fw::WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // runs the About box modally
        EXPECT_TRUE(checked);
        EXPECT_FALSE(dlg.IsEnding());
    });
}
