#include "ui/workplace_menu.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <limits>

#include "docs/docs_texts.h"
#include "docs/workplace_codec.h"
#include "plot/range_text.h"
#include "ui/calc_page.h"
#include "ui/click_label.h"
#include "output/document_file.h"
#include "output/workplace_io.h"
#include "ui/document_prompts.h"
#include "ui/plane_page.h"
#include "ui/utf8_text.h"
#include "ui_calc_page.h"
#include "ui_plane_page.h"

namespace kq {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

WorkplaceMenu::WorkplaceMenu(QWidget* window, PlanePage& plane, CalcPage& calc, CalcSession& session,
                                     DocumentPrompts& prompts)
    : QObject(window), window_(window), plane_(plane), calc_(calc), session_(session), prompts_(prompts) {}

Workplace WorkplaceMenu::Capture() const {
    Workplace w;
    const Graphiq& g = plane_.Renderer();
    w.absolute = g.AbsoluteMode();
    w.xFrom = g.View().xmin;
    w.xTo = g.View().xmax;
    w.yFrom = g.View().ymin;
    w.yTo = g.View().ymax;
    w.formula = S(plane_.Controls().GraphEdit->text());
    const QListWidget* list = plane_.Controls().GraphList;
    for (int i = 0; i < list->count(); ++i) w.list.push_back(S(list->item(i)->text()));
    w.firstLine = S(calc_.Controls().FirstPanel->text());
    w.secondLine = S(calc_.Controls().SecondPanel->text());
    w.activeLine = session_.ActiveField();
    return w;
}

// The formula fields and calculator lines take as much as a line edit can hold, so no text a
// workplace file can carry is cut on its way into them.
static_assert(workplace_format::kMaxFileBytes < static_cast<std::size_t>(std::numeric_limits<int>::max()));

void WorkplaceMenu::Apply(const Workplace& w) {
    // The page's first showing resets the ranges; let that happen before, not after, loading.
    plane_.GraphPageShown();
    auto& page = plane_.Controls();
    Graphiq& g = plane_.Renderer();
    plane_.SetAbsoluteMode(w.absolute);
    g.SetView({w.xFrom, w.xTo, w.yFrom, w.yTo}, false);
    page.GraphEdit->setText(Q(w.formula));
    std::vector<QString> list;
    for (const std::string& entry : w.list) list.push_back(Q(entry));
    plane_.ReplaceList(list);
    calc_.Controls().FirstPanel->setText(Q(w.firstLine));
    calc_.Controls().SecondPanel->setText(Q(w.secondLine));
    session_.SetActiveField(w.activeLine);
    // The editors show the loaded range with 4 digits. Each editor's change reads all four back
    // into the plot, so the values come from the workplace, not from the plot, and the plot ends
    // with the range the editors show.
    page.FromX->setText(Q(WriteRange(w.xFrom)));
    page.ToX->setText(Q(WriteRange(w.xTo)));
    page.FromY->setText(Q(WriteRange(w.yFrom)));
    page.ToY->setText(Q(WriteRange(w.yTo)));
    plane_.YRangeEdited();
    plane_.ApplyFormula();
}

bool WorkplaceMenu::LoadFile(const QByteArray& nativePath) {
    QString problem;
    const std::optional<Workplace> w = ReadWorkplaceFile(nativePath, problem);
    if (!w) {
        prompts_.showError(window_, Tr(kBadWorkplaceCaption), problem);
        return false;
    }
    Apply(*w);
    if (!problem.isEmpty()) prompts_.showError(window_, Tr(kBadWorkplaceCaption), problem);
    return true;
}

bool WorkplaceMenu::SaveFile(const QString& path) {
    const WorkplaceBytes out = EncodeWorkplace(Capture());
    QString error = Q(out.refusal);
    if (error.isEmpty())
        error = WriteDocument(path, QByteArray(reinterpret_cast<const char*>(out.bytes.data()),
                                               static_cast<qsizetype>(out.bytes.size())));
    if (error.isEmpty()) return true;
    prompts_.showError(window_, Tr(kWriteErrorCaption), Tr(kWorkplaceNotSaved) + "\n\n" + error);
    return false;
}

void WorkplaceMenu::Reset() {
    if (!prompts_.ask(window_, Tr(kResetCaption), Tr(kResetQuestion))) return;
    plane_.Controls().GraphEdit->setText(QStringLiteral("cos(x^2-3)"));
    plane_.ReplaceList({QStringLiteral("sin(x)"), QStringLiteral("cos(x)"), QStringLiteral("tg(x)")});
    plane_.Repaint();
}

void WorkplaceMenu::Load() {
    const QString path = prompts_.chooseFile(window_, FileChoice::LoadWorkplace);
    if (!path.isEmpty()) LoadFile(QFile::encodeName(path));
}

void WorkplaceMenu::Save() {
    const QString path = prompts_.chooseFile(window_, FileChoice::SaveWorkplace);
    if (!path.isEmpty()) SaveFile(path);
}

}  // namespace kq
