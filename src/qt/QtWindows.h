#pragma once
// The binding of window models to Qt widgets (used inside src/qt only).
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/Dialog.h"
#include "ui/Window.h"

class QWidget;

namespace qtbind {

// The widgets of one window's controls, kept in step with the model both ways.
class WidgetBinding : public ui::WindowPeer {
public:
    WidgetBinding(ui::Window& window, QWidget* container);
    ~WidgetBinding() override;
    WidgetBinding(const WidgetBinding&) = delete;
    WidgetBinding& operator=(const WidgetBinding&) = delete;

    void BuildAll();
    ui::Window& Model() const { return m_window; }
    QWidget* Container() const { return m_container; }
    // The model has let go of this binding (and may be gone before the widgets are).
    void Detach() { m_detached = true; }
    QWidget* WidgetOf(const ui::Control* control) const;

    std::function<void(int)> onEnded;
    std::function<void()> onDestroyed;
    std::function<void()> onCaption;
    std::function<void(bool)> onShown;
    std::function<void()> onMoved;
    std::function<void(ui::Control&)> onTabChanged;

    void ControlChanged(ui::Control& control, ui::Aspect aspect, int index) override;
    void ControlAdded(ui::Control& control) override;
    void ControlRemoving(ui::Control& control) override;
    void CaptionChanged() override;
    void Invalidate() override;
    void WindowShown(bool show) override;
    void WindowMoved() override;
    void Ended(int result) override;
    void Destroyed() override;

private:
    QWidget* Create(ui::Control& control);
    void Place(ui::Control& control, QWidget* widget);
    void Sync(ui::Control& control, ui::Aspect aspect, int index);
    void SyncItems(ui::Control& control, QWidget* widget);
    void SyncListView(ui::Control& control, QWidget* widget, int row);
    void SyncTree(ui::Control& control, QWidget* widget);
    ui::Window& m_window;
    QPointer<QWidget> m_container;
    bool m_detached = false;
    std::map<const ui::Control*, QPointer<QWidget>> m_widgets;
};

// The control a widget (or one of its inner widgets) shows; null when none.
ui::Control* ControlOfWidget(QObject* widget);
// True while the binding moves the focus itself (the model already knows).
bool SyncingFocus();

QFont DialogFont(const std::string& face, int points);
// Runs the window's own painting (OnPaint) on the widget.
void PaintWindow(ui::Window& window, QWidget* widget);
QImage ToQImage(const ui::Bitmap& bitmap);
void BaseUnits(const QFont& font, int& x, int& y);
// Pixel sizes written for the original's font, scaled to this font.
double PixelScale(const QFont& font);

// A dialog model shown as a QDialog (also a property sheet with its pages).
class DialogWidget : public QDialog {
public:
    DialogWidget(ui::Dialog& model, QWidget* parent);
    ~DialogWidget() override;
    ui::Dialog& model;
    WidgetBinding binding;
    bool closingFromModel = false;

    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ShowActivePage();
    void StepPage(int step);  // the next (+1) or previous (-1) page of a sheet, round
    void ShowWithoutFocus();
    bool event(QEvent* event) override;
    bool m_giveBackActivation = false;
    std::map<ui::Window*, std::unique_ptr<WidgetBinding>> m_pages;
    std::vector<std::unique_ptr<WidgetBinding>> m_oldPages;
};

}  // namespace qtbind
