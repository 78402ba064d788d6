#include "fw/qt/qt_backend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

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

// The top-level window of a dialog. It turns the close box, Escape and Enter
// into the dialog's own messages instead of closing itself.
class DialogWindow : public QWidget {
public:
    explicit DialogWindow(CDialog& dialog) : m_dialog(dialog) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        m_dialog.SendMessage(WM_CLOSE, 0, 0);
    }

    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) {
            m_dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            // Enter on a push button presses that button; elsewhere it is OK.
            if (qobject_cast<QPushButton*>(QApplication::focusWidget()) == nullptr) {
                m_dialog.SendMessage(WM_COMMAND, IDOK, 0);
                return;
            }
        }
        QWidget::keyPressEvent(e);
    }

private:
    CDialog& m_dialog;
};

struct QtDialog {
    DialogWindow* window = nullptr;
    QEventLoop* loop = nullptr;
    BaseUnits units{};
};

QtDialog* DataOf(CDialog& dialog) { return static_cast<QtDialog*>(dialog.m_backendData); }

QWidget* WidgetOf(CWnd* wnd) {
    auto* dialog = dynamic_cast<CDialog*>(wnd);
    if (dialog == nullptr || dialog->m_backendData == nullptr) return nullptr;
    return DataOf(*dialog)->window;
}

}  // namespace

QtBackend::QtBackend(int& argc, char** argv)
    : m_app(std::make_unique<QApplication>(argc, argv)),
      m_dispatcher(std::make_unique<Dispatcher>()) {
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

    auto* window = new DialogWindow(dialog);
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
}

void QtBackend::RunModalLoop(CDialog& dialog) {
    QtDialog* data = DataOf(dialog);
    data->window->show();
    data->window->raise();
    data->window->activateWindow();
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
