// The controls of the windows as the tests reach them: by their object names, which are the
// system's own, found with findChild. A missing one fails the test that looks for it.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

#include "ui/click_label.h"
#include "ui/paint_box.h"
#include "ui/up_down.h"

namespace kq::test {

template <class T>
T* Find(const QObject* window, const char* name) {
    T* found = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!found) qWarning("no control named %s", name);
    return found;
}

// KQ_CONTROLS(Type, a, b, ...) declares members a, b, ... of Type*, each the window's child of
// that name.
#define KQ_PARENS ()
#define KQ_EXPAND(...) KQ_EXPAND3(KQ_EXPAND3(KQ_EXPAND3(KQ_EXPAND3(__VA_ARGS__))))
#define KQ_EXPAND3(...) KQ_EXPAND2(KQ_EXPAND2(KQ_EXPAND2(KQ_EXPAND2(__VA_ARGS__))))
#define KQ_EXPAND2(...) KQ_EXPAND1(KQ_EXPAND1(KQ_EXPAND1(KQ_EXPAND1(__VA_ARGS__))))
#define KQ_EXPAND1(...) __VA_ARGS__
#define KQ_CONTROLS(Type, ...) __VA_OPT__(KQ_EXPAND(KQ_CONTROLS_NEXT(Type, __VA_ARGS__)))
#define KQ_CONTROLS_NEXT(Type, name, ...) \
    Type* name = Find<Type>(window_, #name); __VA_OPT__(KQ_CONTROLS_AGAIN KQ_PARENS(Type, __VA_ARGS__))
#define KQ_CONTROLS_AGAIN() KQ_CONTROLS_NEXT

// Where the controls are looked for.
struct WindowControls {
    explicit WindowControls(const QObject* window) : window_(window) {}
    const QObject* window_;
};

// clang-format off
// The main window's menus, tool bar and actions.
struct MainControls : WindowControls { using WindowControls::WindowControls; KQ_CONTROLS(QMenuBar, MainMenu) KQ_CONTROLS(QMenu, N1, N6) KQ_CONTROLS(QToolBar, ToolBar1) KQ_CONTROLS(QAction, N8, LoadWP, SaveWP, SavePicture, DoPrint, N5, ToolButton3, ToolButton4, ToolButton5, N9, N12, N13, N14, N15, OptionsButton, ExitButton) };

// The "Графики" page.
struct PlaneControls : WindowControls { using WindowControls::WindowControls; KQ_CONTROLS(ClickLabel, Label2) KQ_CONTROLS(QLineEdit, GraphEdit, FromX, ToX, FromY, ToY) KQ_CONTROLS(QToolButton, SpeedButton1, SpeedButton2, spb) KQ_CONTROLS(PaintBox, PaintBox1) KQ_CONTROLS(QLabel, Label3, Label4, Label6) KQ_CONTROLS(UpDown, fx, fy) KQ_CONTROLS(QCheckBox, RealMagni) KQ_CONTROLS(QListWidget, GraphList) KQ_CONTROLS(QPushButton, Button2) };

// The "Калькулятор+" page, the keypad's keys too.
struct CalcControls : WindowControls { using WindowControls::WindowControls; KQ_CONTROLS(QFrame, Panel4) KQ_CONTROLS(QLineEdit, FirstPanel, SecondPanel, Edit3) KQ_CONTROLS(QLabel, DoubtLine) KQ_CONTROLS(QWidget, FullPanel) KQ_CONTROLS(QToolButton, SinKey, CosKey, TgKey, CtgKey, SecKey, CscKey, AsinKey, AcosKey, AbsKey, LnKey, LgKey, SpeedButton12, SpeedButton15, SpeedButton22, SpeedButton23, SpeedButton3, SpeedButton38, SpeedButton16, SpeedButton21, SpeedButton24, SpeedButton4, DoThisButton, SpeedButton17, SpeedButton20, SpeedButton25, SpeedButton5, SpeedButton18, SpeedButton19, SpeedButton26, SpeedButton6, SpeedButton14, SpeedButton27, SpbC, SpeedButton34, SpeedButton36, SpeedButton29, SpeedButton30, SpeedButton31, SpeedButton35, SpeedButton37) KQ_CONTROLS(QGroupBox, BaseGroup) KQ_CONTROLS(QRadioButton, RadioButton1, RadioButton2, RadioButton3, RadioButton5, SpecSys) KQ_CONTROLS(QPushButton, ListOfResults) };

// The "3D Графики" page.
struct SurfaceControls : WindowControls { using WindowControls::WindowControls; KQ_CONTROLS(QLineEdit, SurfaceEdit) KQ_CONTROLS(QFrame, PaintBox2) KQ_CONTROLS(QDoubleSpinBox, StepEdit) KQ_CONTROLS(QLabel, GridLabel, StatusLabel) KQ_CONTROLS(QCheckBox, PerspectiveBox) KQ_CONTROLS(QPushButton, ResetViewButton) };

// The print dialog.
struct PrintSetControls : WindowControls { using WindowControls::WindowControls; KQ_CONTROLS(QFrame, Panel2) KQ_CONTROLS(PaintBox, PagePaintBox) KQ_CONTROLS(QSlider, TrackBar1) KQ_CONTROLS(QCheckBox, CheckBox1, CheckBox2, CheckBox3, CheckBox4) KQ_CONTROLS(QLineEdit, Edit1) KQ_CONTROLS(QPushButton, Button1, Button3, PdfButton, Button2) };

// The options dialog.
struct OptionsControls : WindowControls { using WindowControls::WindowControls; KQ_CONTROLS(QCheckBox, CheckBox1, CheckBox2, CheckBox3) KQ_CONTROLS(QLineEdit, Edit1, Edit2) KQ_CONTROLS(UpDown, UpDown1) KQ_CONTROLS(QRadioButton, RadioButton1, RadioButton2) KQ_CONTROLS(QPushButton, Button1, Button2) };

// clang-format on
#undef KQ_CONTROLS_AGAIN
#undef KQ_CONTROLS_NEXT
#undef KQ_CONTROLS
#undef KQ_EXPAND1
#undef KQ_EXPAND2
#undef KQ_EXPAND3
#undef KQ_EXPAND
#undef KQ_PARENS

}  // namespace kq::test
