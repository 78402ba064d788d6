#include "fw/qt/qt_backend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <map>
#include <vector>

#include "fw/wnd.h"
#include "res/resources.h"

namespace fw::qt {

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 1);

// Delivers one posted framework message per wake event.
class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != kWakeEvent) return QObject::event(e);
        DispatchOnePosted();
        return true;
    }
};

// Dialog base units of a font, as the classic dialog manager computes them:
// the average width of the 52 Latin letters and the line height.
struct BaseUnits {
    int x;
    int y;
};

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics fm(font);
    const int letters =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, fm.height()};
}

struct QtDialog;

// The top-level window of a dialog. It turns the close box, Escape and Enter
// into the dialog's own messages instead of closing itself, and offers the
// window commands on a right click.
class DialogWindow : public QWidget {
public:
    DialogWindow(CDialog& dialog, QtDialog& data) : m_dialog(dialog), m_data(data) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        m_dialog.SendMessage(WM_CLOSE, 0, 0);
    }
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    CDialog& m_dialog;
    QtDialog& m_data;
};

struct Column {
    ColumnAlign align;
};

// A static text with an ID: a window object may take it over, and then hears
// of the pointer, of clicks, and chooses the colour of the text.
class StaticWidget : public QLabel {
public:
    StaticWidget(int id, QWidget* parent) : QLabel(parent), m_id(id) {}

    void TakeOver(CWnd* handler) {
        m_handler = handler;
        setMouseTracking(true);
    }
    void SetCaptured(bool captured) { m_captured = captured; }

protected:
    void enterEvent(QEnterEvent* e) override {
        Pointer(e->position().toPoint());
        QLabel::enterEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        Pointer(e->position().toPoint());
        QLabel::mouseMoveEvent(e);
    }
    void leaveEvent(QEvent* e) override {
        // The pointer has gone: the control hears of it while it holds the
        // capture, as a move to a point outside it.
        if (m_handler != nullptr && m_captured) {
            m_handler->SendMessage(WM_MOUSEMOVE, 0, MakePointParam(-1, -1));
        }
        QLabel::leaveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (m_handler != nullptr && e->button() == Qt::LeftButton &&
            rect().contains(e->position().toPoint())) {
            m_handler->SendMessage(
                OCM_COMMAND, static_cast<WPARAM>(m_id) | (WPARAM{STN_CLICKED} << 16), 0);
            return;
        }
        QLabel::mouseReleaseEvent(e);
    }
    void paintEvent(QPaintEvent* e) override {
        if (m_handler == nullptr) {
            QLabel::paintEvent(e);
            return;
        }
        // The text alone, in the colour the control asks for: the window's
        // own background shows through.
        const auto colour = static_cast<COLORREF>(m_handler->SendMessage(OCM_CTLCOLORSTATIC, 0, 0));
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(QColor(static_cast<int>(GetRValue(colour)), static_cast<int>(GetGValue(colour)),
                              static_cast<int>(GetBValue(colour))));
        painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
    }

private:
    void Pointer(QPoint p) {
        if (m_handler == nullptr) return;
        m_handler->SendMessage(WM_SETCURSOR, 0, 0);
        m_handler->SendMessage(WM_MOUSEMOVE, 0, MakePointParam(p.x(), p.y()));
    }
    int m_id;
    CWnd* m_handler = nullptr;
    bool m_captured = false;
};

struct QtDialog {
    DialogWindow* window = nullptr;
    QEventLoop* loop = nullptr;
    BaseUnits units{};
    std::map<int, QWidget*> controls;
    std::map<int, std::vector<Column>> columns;  // per list control
    std::vector<std::pair<UINT, std::string>> systemMenu;
    QWidget* firstTabStop = nullptr;
};

void DialogWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        m_dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Enter on a push button presses that button; anywhere else it is OK.
        if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) {
            button->click();
        } else {
            m_dialog.SendMessage(WM_COMMAND, IDOK, 0);
        }
        return;
    }
    QWidget::keyPressEvent(e);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* e) {
    if (m_data.systemMenu.empty()) return;
    QMenu menu(this);
    std::map<QAction*, UINT> ids;
    for (const auto& [id, text] : m_data.systemMenu) {
        if (id == 0) {
            if (!menu.isEmpty()) menu.addSeparator();
        } else {
            ids[menu.addAction(QString::fromUtf8(text.c_str()))] = id;
        }
    }
    QAction* chosen = menu.exec(e->globalPos());
    if (chosen != nullptr) m_dialog.SendMessage(WM_SYSCOMMAND, ids[chosen], 0);
}

QtDialog* DataOf(CDialog& dialog) { return static_cast<QtDialog*>(dialog.m_backendData); }

QWidget* WidgetOf(CWnd* wnd) {
    auto* dialog = dynamic_cast<CDialog*>(wnd);
    if (dialog == nullptr || dialog->m_backendData == nullptr) return nullptr;
    return DataOf(*dialog)->window;
}

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/res/icons/tarnwick-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void SendClicked(CDialog& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, static_cast<WPARAM>(id) | (WPARAM{BN_CLICKED} << 16), 0);
}

// Builds one control of a template on the window.
QWidget* BuildControl(CDialog& dialog, QtDialog& data, const res::ControlTemplate& c) {
    using K = res::ControlKind;
    QWidget* parent = data.window;
    const QString caption = QString::fromUtf8(c.caption);
    QWidget* w = nullptr;
    switch (c.kind) {
        case K::PushButton:
        case K::DefPushButton: {
            auto* b = new QPushButton(caption, parent);
            b->setAutoDefault(false);
            b->setDefault(c.kind == K::DefPushButton);
            if (c.id >= 0) {
                const int id = c.id;
                QObject::connect(b, &QPushButton::clicked, [&dialog, id] {
                    // The default push button sends its own ID: OK is the OK command.
                    SendClicked(dialog, id);
                });
            }
            w = b;
            break;
        }
        case K::AutoRadio:
        case K::AutoCheck: {
            QAbstractButton* b = c.kind == K::AutoRadio
                                     ? static_cast<QAbstractButton*>(new QRadioButton(caption, parent))
                                     : new QCheckBox(caption, parent);
            b->setAutoExclusive(false);  // exclusion follows the template's groups
            const int id = c.id;
            QObject::connect(b, &QAbstractButton::clicked, [&dialog, id] { SendClicked(dialog, id); });
            w = b;
            break;
        }
        case K::Static: {
            auto* l = c.id >= 0 ? new StaticWidget(c.id, parent) : new QLabel(parent);
            if ((c.flags & res::kNoPrefix) != 0) {
                l->setText(caption);
            } else {
                l->setText(QString::fromUtf8(res::StripMnemonic(c.caption).c_str()));
            }
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = l;
            break;
        }
        case K::Icon: {
            auto* l = new QLabel(parent);
            w = l;
            break;
        }
        case K::Edit: {
            auto* e = new QLineEdit(parent);
            e->setFrame((c.flags & res::kBorder) != 0);
            w = e;
            break;
        }
        case K::ComboDropList: {
            auto* cb = new QComboBox(parent);
            cb->setEditable(false);
            w = cb;
            break;
        }
        case K::GroupBox: {
            auto* g = new QGroupBox(caption, parent);
            g->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = g;
            break;
        }
        case K::Progress: {
            auto* p = new QProgressBar(parent);
            p->setTextVisible(false);
            p->setRange(0, 100);
            p->setValue(0);
            w = p;
            break;
        }
        case K::ListView: {
            auto* t = new QTableWidget(parent);
            t->setEditTriggers(QAbstractItemView::NoEditTriggers);
            t->setSelectionMode(QAbstractItemView::ExtendedSelection);
            t->setSelectionBehavior(QAbstractItemView::SelectItems);
            t->setShowGrid(false);
            t->setSortingEnabled(false);
            t->setWordWrap(false);
            t->verticalHeader()->hide();
            t->horizontalHeader()->setSectionsClickable(false);
            t->horizontalHeader()->setHighlightSections(false);
            t->setFrameShape((c.flags & res::kBorder) != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
            w = t;
            break;
        }
    }
    // Geometry from dialog units.
    const int x = c.x * data.units.x / 4;
    const int y = c.y * data.units.y / 8;
    const int cx = c.cx * data.units.x / 4;
    int cy = c.cy * data.units.y / 8;
    if (c.kind == K::ComboDropList) {
        // The template's height includes the dropped-down list.
        auto* cb = static_cast<QComboBox*>(w);
        const int closed = cb->sizeHint().height();
        const int itemHeight = std::max(1, cb->fontMetrics().height() + 4);
        cb->setMaxVisibleItems(std::max(5, (cy - closed) / itemHeight));
        cy = closed;
    }
    if (c.kind == K::Icon) {
        auto* l = static_cast<QLabel*>(w);
        l->setPixmap(ProgramIcon().pixmap(std::min(cx, cy), std::min(cx, cy)));
    }
    w->setGeometry(x, y, cx, cy);

    // Keyboard: tab stops in template order; other controls by mouse only.
    if (c.kind == K::Static || c.kind == K::GroupBox || c.kind == K::Icon || c.kind == K::Progress) {
        w->setFocusPolicy(Qt::NoFocus);
    } else {
        w->setFocusPolicy((c.flags & res::kTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
    if ((c.flags & res::kHidden) != 0) w->hide();

    // What a screen reader says: the caption without its mnemonic, or the
    // name given for a control without one.
    if (c.accessibleName != nullptr) {
        w->setAccessibleName(QString::fromUtf8(c.accessibleName));
    } else if (c.caption[0] != '\0') {
        w->setAccessibleName(QString::fromUtf8(res::StripMnemonic(c.caption).c_str()));
    }
    if (c.id >= 0) {
        w->setObjectName(QStringLiteral("ctl_%1").arg(c.id));
        data.controls[c.id] = w;
    }
    return w;
}

template <class T>
T* Ctl(CDialog& d, int id) {
    QtDialog* data = DataOf(d);
    if (data == nullptr) return nullptr;
    const auto it = data->controls.find(id);
    return it == data->controls.end() ? nullptr : qobject_cast<T*>(it->second);
}

}  // namespace

QtBackend::QtBackend(int& argc, char** argv)
    : m_app(std::make_unique<QApplication>(argc, argv)),
      m_dispatcher(std::make_unique<Dispatcher>()) {
    QApplication::setApplicationName(QStringLiteral("tandrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarnwick"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tandrel"));
    QApplication::setWindowIcon(ProgramIcon());
    SetBackend(this);
}

QtBackend::~QtBackend() {
    if (&GetBackend() == this) SetBackend(nullptr);
}

void QtBackend::CreateDialogWindow(CDialog& dialog, const res::DialogTemplate& tmpl) {
    auto* data = new QtDialog;
    dialog.m_backendData = data;
    QWidget* owner = WidgetOf(dialog.Parent());
    if (owner == nullptr && AfxGetMainWnd() != &dialog) owner = WidgetOf(AfxGetMainWnd());

    auto* window = new DialogWindow(dialog, *data);
    data->window = window;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (tmpl.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    if (owner != nullptr) {
        window->setParent(owner, flags | Qt::Dialog);
        window->setWindowModality(Qt::WindowModal);
    } else {
        window->setWindowFlags(flags);
    }
    window->setWindowTitle(QString::fromUtf8(tmpl.caption));

    QFont font = QApplication::font();
    font.setPointSize(tmpl.fontPoints);
    window->setFont(font);
    data->units = BaseUnitsOf(font);
    const QSize size(tmpl.cx * data->units.x / 4, tmpl.cy * data->units.y / 8);
    window->setFixedSize(size);

    // Centred over the owner, or on the screen for a window without one.
    const QRect area = owner != nullptr ? owner->frameGeometry()
                                        : QApplication::primaryScreen()->availableGeometry();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));

    // The controls, in template order, which is also the keyboard order.
    const std::vector<int> groups = res::GroupNumbers(tmpl);
    std::map<int, QButtonGroup*> radioGroups;
    QWidget* previousTabStop = nullptr;
    std::vector<QWidget*> groupBoxes;
    for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
        const res::ControlTemplate& c = tmpl.controls[i];
        QWidget* w = BuildControl(dialog, *data, c);
        if (c.kind == res::ControlKind::GroupBox) groupBoxes.push_back(w);
        if (c.kind == res::ControlKind::AutoRadio) {
            QButtonGroup*& group = radioGroups[groups[i]];
            if (group == nullptr) {
                group = new QButtonGroup(window);
                group->setExclusive(true);
            }
            group->addButton(static_cast<QAbstractButton*>(w));
        }
        if ((c.flags & res::kTabStop) != 0 && (c.flags & res::kHidden) == 0) {
            if (previousTabStop != nullptr) QWidget::setTabOrder(previousTabStop, w);
            if (data->firstTabStop == nullptr) data->firstTabStop = w;
            previousTabStop = w;
        }
    }
    // A control named after a text in the window is labelled by that text,
    // so screen readers announce the two together.
    for (const res::ControlTemplate& c : tmpl.controls) {
        if (c.id < 0 || c.accessibleName == nullptr) continue;
        for (auto* label : window->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (label->text() == QString::fromUtf8(c.accessibleName) + QLatin1Char(':')) {
                label->setBuddy(data->controls[c.id]);
            }
        }
    }
    // Group boxes only frame the controls inside them.
    for (QWidget* g : groupBoxes) g->lower();
}

void QtBackend::RunModalLoop(CDialog& dialog) {
    QtDialog* data = DataOf(dialog);
    data->window->show();
    data->window->raise();
    data->window->activateWindow();
    // The keyboard focus starts on the first control with a tab stop.
    if (data->firstTabStop != nullptr && data->firstTabStop->isEnabled()) {
        data->firstTabStop->setFocus(Qt::OtherFocusReason);
    }
    QEventLoop loop;
    data->loop = &loop;
    if (!dialog.IsEnding()) loop.exec(QEventLoop::DialogExec);
    data->loop = nullptr;
}

void QtBackend::EndModalLoop(CDialog& dialog) {
    QtDialog* data = DataOf(dialog);
    if (data != nullptr && data->loop != nullptr) data->loop->exit(0);
}

void QtBackend::DestroyDialogWindow(CDialog& dialog) {
    QtDialog* data = DataOf(dialog);
    if (data == nullptr) return;
    data->window->hide();
    // The modal loop has returned, so no handler of this window is running.
    delete data->window;
    delete data;
    dialog.m_backendData = nullptr;
}

int QtBackend::MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                          UINT type) {
    QString body = QString::fromUtf8(text.c_str());
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
    QMessageBox box((type & MB_ICONMASK) == MB_ICONINFORMATION ? QMessageBox::Information
                                                               : QMessageBox::NoIcon,
                    QString::fromUtf8(caption.c_str()), body,
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    WidgetOf(owner));
    const int answer = box.exec();
    if (!yesNo) return IDOK;
    return answer == QMessageBox::Yes ? IDYES : IDNO;
}

void QtBackend::WakeUp() {
    QCoreApplication::postEvent(m_dispatcher.get(), new QEvent(kWakeEvent));
}

void QtBackend::DrainPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (DispatchOnePosted()) {
    }
}

}  // namespace fw::qt

namespace fw::qt {

QWidget* QtBackend::WindowOf(CDialog& dialog) { return WidgetOf(&dialog); }

QWidget* QtBackend::ControlOf(CDialog& dialog, int id) { return Ctl<QWidget>(dialog, id); }

void QtBackend::EnableControl(CDialog& d, int id, bool enable) {
    if (QWidget* w = Ctl<QWidget>(d, id)) w->setEnabled(enable);
}

bool QtBackend::IsControlEnabled(CDialog& d, int id) {
    QWidget* w = Ctl<QWidget>(d, id);
    return w != nullptr && w->isEnabled();
}

void QtBackend::SetControlText(CDialog& d, int id, const std::string& text) {
    if (auto* b = Ctl<QAbstractButton>(d, id)) b->setText(Q(text));
    else if (auto* e = Ctl<QLineEdit>(d, id)) e->setText(Q(text));
    else if (auto* l = Ctl<QLabel>(d, id)) l->setText(Q(text));
    else if (auto* g = Ctl<QGroupBox>(d, id)) g->setTitle(Q(text));
    if (QWidget* w = Ctl<QWidget>(d, id); w != nullptr && qobject_cast<QAbstractButton*>(w)) {
        w->setAccessibleName(Q(res::StripMnemonic(text)));
    }
}

std::string QtBackend::GetControlText(CDialog& d, int id) {
    if (auto* b = Ctl<QAbstractButton>(d, id)) return S(b->text());
    if (auto* e = Ctl<QLineEdit>(d, id)) return S(e->text());
    if (auto* l = Ctl<QLabel>(d, id)) return S(l->text());
    if (auto* g = Ctl<QGroupBox>(d, id)) return S(g->title());
    return std::string();
}

void QtBackend::SetCheck(CDialog& d, int id, int state) {
    auto* b = Ctl<QAbstractButton>(d, id);
    if (b == nullptr) return;
    b->setCheckable(true);
    QButtonGroup* group = b->group();
    // Setting a check state programmatically does not touch the other buttons.
    if (group != nullptr) group->setExclusive(false);
    b->setChecked(state != BST_UNCHECKED);
    if (group != nullptr) group->setExclusive(true);
}

int QtBackend::GetCheck(CDialog& d, int id) {
    auto* b = Ctl<QAbstractButton>(d, id);
    return b != nullptr && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

int QtBackend::ComboGetCount(CDialog& d, int id) {
    auto* c = Ctl<QComboBox>(d, id);
    return c ? c->count() : 0;
}

int QtBackend::ComboInsertString(CDialog& d, int id, int index, const std::string& text) {
    auto* c = Ctl<QComboBox>(d, id);
    if (c == nullptr) return -1;
    if (index < 0 || index > c->count()) index = c->count();
    const QSignalBlocker quiet(c);
    const int selected = c->currentIndex();
    c->insertItem(index, Q(text));
    // Inserting selects nothing by itself.
    c->setCurrentIndex(selected < 0 ? -1 : (selected >= index ? selected + 1 : selected));
    return index;
}

std::string QtBackend::ComboGetString(CDialog& d, int id, int index) {
    auto* c = Ctl<QComboBox>(d, id);
    return c && index >= 0 && index < c->count() ? S(c->itemText(index)) : std::string();
}

void QtBackend::ComboSetCurSel(CDialog& d, int id, int index) {
    if (auto* c = Ctl<QComboBox>(d, id)) c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

int QtBackend::ComboGetCurSel(CDialog& d, int id) {
    auto* c = Ctl<QComboBox>(d, id);
    return c ? c->currentIndex() : -1;
}

void QtBackend::ProgressSetRange(CDialog& d, int id, int lower, int upper) {
    if (auto* p = Ctl<QProgressBar>(d, id)) p->setRange(lower, upper);
}

void QtBackend::ProgressGetRange(CDialog& d, int id, int& lower, int& upper) {
    auto* p = Ctl<QProgressBar>(d, id);
    lower = p ? p->minimum() : 0;
    upper = p ? p->maximum() : 0;
}

void QtBackend::ProgressSetPos(CDialog& d, int id, int pos) {
    // Like the classic control, a position outside the range is clamped to it.
    if (auto* p = Ctl<QProgressBar>(d, id)) p->setValue(std::clamp(pos, p->minimum(), p->maximum()));
}

int QtBackend::ProgressGetPos(CDialog& d, int id) {
    auto* p = Ctl<QProgressBar>(d, id);
    return p ? p->value() : 0;
}

void QtBackend::ListSetFullRowGrid(CDialog& d, int id) {
    if (auto* t = Ctl<QTableWidget>(d, id)) {
        t->setSelectionBehavior(QAbstractItemView::SelectRows);
        t->setShowGrid(true);
    }
}

void QtBackend::ListInsertColumn(CDialog& d, int id, int index, const std::string& heading,
                                 ColumnAlign align, int widthPixels) {
    auto* t = Ctl<QTableWidget>(d, id);
    if (t == nullptr) return;
    auto& cols = DataOf(d)->columns[id];
    if (index < 0 || index > t->columnCount()) index = t->columnCount();
    t->insertColumn(index);
    cols.insert(cols.begin() + index, Column{align});
    auto* header = new QTableWidgetItem(Q(heading));
    header->setTextAlignment((align == ColumnAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
                             Qt::AlignVCenter);
    t->setHorizontalHeaderItem(index, header);
    t->setColumnWidth(index, widthPixels);
}

int QtBackend::ListGetItemCount(CDialog& d, int id) {
    auto* t = Ctl<QTableWidget>(d, id);
    return t ? t->rowCount() : 0;
}

int QtBackend::ListInsertItem(CDialog& d, int id, int row, const std::string& text) {
    auto* t = Ctl<QTableWidget>(d, id);
    if (t == nullptr) return -1;
    if (row < 0 || row > t->rowCount()) row = t->rowCount();
    t->insertRow(row);
    ListSetItemText(d, id, row, 0, text);
    return row;
}

void QtBackend::ListSetItemText(CDialog& d, int id, int row, int column, const std::string& text) {
    auto* t = Ctl<QTableWidget>(d, id);
    if (t == nullptr || row < 0 || row >= t->rowCount() || column < 0 || column >= t->columnCount()) {
        return;
    }
    QTableWidgetItem* item = t->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        const auto& cols = DataOf(d)->columns[id];
        const bool centred = column < static_cast<int>(cols.size()) && cols[column].align == ColumnAlign::Center;
        item->setTextAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        t->setItem(row, column, item);
    }
    item->setText(Q(text));
}

std::string QtBackend::ListGetItemText(CDialog& d, int id, int row, int column) {
    auto* t = Ctl<QTableWidget>(d, id);
    if (t == nullptr) return std::string();
    QTableWidgetItem* item = t->item(row, column);
    return item ? S(item->text()) : std::string();
}

void QtBackend::ListDeleteItem(CDialog& d, int id, int row) {
    if (auto* t = Ctl<QTableWidget>(d, id); t != nullptr && row >= 0 && row < t->rowCount()) {
        t->removeRow(row);
    }
}

void QtBackend::ListDeleteAllItems(CDialog& d, int id) {
    if (auto* t = Ctl<QTableWidget>(d, id)) t->setRowCount(0);
}

int QtBackend::ListGetNextSelected(CDialog& d, int id, int after) {
    auto* t = Ctl<QTableWidget>(d, id);
    if (t == nullptr) return -1;
    int next = -1;
    for (const QModelIndex& index : t->selectionModel()->selectedIndexes()) {
        const int row = index.row();
        if (row > after && (next < 0 || row < next)) next = row;
    }
    return next;
}

void QtBackend::SetIcon(CDialog& d, int iconId, bool) {
    if (QtDialog* data = DataOf(d); data != nullptr && iconId == res::IDR_MAINFRAME) {
        data->window->setWindowIcon(ProgramIcon());
    }
}

void QtBackend::AppendSystemMenu(CDialog& d, UINT id, const std::string& text) {
    if (QtDialog* data = DataOf(d)) data->systemMenu.emplace_back(id, text);
}

std::optional<std::string> QtBackend::BrowseForFolder(CWnd* owner, const std::string& title) {
    const QString folder = QFileDialog::getExistingDirectory(WidgetOf(owner), Q(title), QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return S(folder);
}

std::optional<std::vector<std::string>> QtBackend::GetOpenFileNames(CWnd* owner,
                                                                    const std::string& filters) {
    // Qt reads a filter's patterns from the parentheses at its end, separated
    // by blanks; with the details hidden the user reads the label as it is.
    QStringList qtFilters;
    for (const FileFilter& f : ParseFilterText(filters)) {
        QString patterns = Q(f.patterns);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        qtFilters << Q(f.label) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    QFileDialog dialog(WidgetOf(owner));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtFilters);
    if (!qtFilters.isEmpty()) dialog.selectNameFilter(qtFilters.front());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> files;
    for (const QString& f : dialog.selectedFiles()) files.push_back(S(f));
    return files;
}

bool QtBackend::OpenDocument(const std::string& target) {
    const QString t = Q(target);
    const QUrl url = t.contains(QStringLiteral("://")) ? QUrl(t) : QUrl::fromLocalFile(t);
    return QDesktopServices::openUrl(url);
}

void QtBackend::SubclassControl(CDialog& d, int id, CWnd* handler) {
    if (auto* w = dynamic_cast<StaticWidget*>(Ctl<QWidget>(d, id))) w->TakeOver(handler);
}

void QtBackend::SetControlUnderline(CDialog& d, int id, bool underline) {
    if (QWidget* w = Ctl<QWidget>(d, id)) {
        QFont f = w->font();
        f.setUnderline(underline);
        w->setFont(f);
        w->repaint();
    }
}

void QtBackend::SetControlCursor(CDialog& d, int id, Cursor cursor) {
    if (QWidget* w = Ctl<QWidget>(d, id)) {
        w->setCursor(cursor == Cursor::Hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

void QtBackend::SetControlCapture(CDialog& d, int id, bool capture) {
    // Qt tells a widget when the pointer leaves it, so the capture is not
    // taken from the rest of the desktop; it only asks for that news.
    if (auto* w = dynamic_cast<StaticWidget*>(Ctl<QWidget>(d, id))) w->SetCaptured(capture);
}

void QtBackend::RedrawControl(CDialog& d, int id, bool now) {
    if (QWidget* w = Ctl<QWidget>(d, id)) {
        if (now) {
            w->repaint();
        } else {
            w->update();
        }
    }
}

void QtBackend::GetControlSize(CDialog& d, int id, int& width, int& height) {
    QWidget* w = Ctl<QWidget>(d, id);
    width = w ? w->width() : 0;
    height = w ? w->height() : 0;
}

}  // namespace fw::qt
