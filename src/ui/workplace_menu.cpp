#include "ui/workplace_menu.h"

#include <QFile>
#include <limits>

#include "docs/docs_texts.h"
#include "calc/calc_session.h"
#include "output/workplace_io.h"
#include "ui/document_prompts.h"
#include "ui/plane_page.h"
#include "ui/utf8_text.h"

namespace kq {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

WorkplaceMenu::WorkplaceMenu(QWidget* window, PlanePage& plane, CalcSession& session, DocumentPrompts& prompts)
    : QObject(window), window_(window), plane_(plane), session_(session), prompts_(prompts) {}

Workplace WorkplaceMenu::Capture() const {
    const PlaneModel& plane = plane_.Model();
    Workplace w;
    w.absolute = plane.AbsoluteMode();
    w.xFrom = plane.View().xmin;
    w.xTo = plane.View().xmax;
    w.yFrom = plane.View().ymin;
    w.yTo = plane.View().ymax;
    w.formula = plane.Formula();
    w.list = plane.ListTexts();
    w.firstLine = session_.Line(1);
    w.secondLine = session_.Line(2);
    w.activeLine = session_.ActiveField();
    return w;
}

// The formula fields and calculator lines take as much as a line edit can hold, so no text a
// workplace file can carry is cut on its way into them.
static_assert(workplace_format::kMaxFileBytes < static_cast<std::size_t>(std::numeric_limits<int>::max()));

void WorkplaceMenu::Apply(const Workplace& w) {
    // The page's first showing resets the ranges; let that happen before, not after, loading.
    plane_.GraphPageShown();
    PlaneModel& plane = plane_.Model();
    plane.SetAbsoluteMode(w.absolute);
    // The formula and the list loaded can be taken back as one change.
    plane_.RecordEdit(QStringLiteral("загрузку рабочего места"), ContentPart::Both, [&] {
        plane.SetFormula(w.formula);
        plane.ReplaceList(w.list);
    });
    // The editors show the loaded range with 4 digits, and the plot ends with the range they
    // show (in 1:1 mode, x following).
    plane.SetView(AsRangeEditorsShow({w.xFrom, w.xTo, w.yFrom, w.yTo}));
    session_.SetLine(1, w.firstLine);
    session_.SetLine(2, w.secondLine);
    session_.SetActiveField(w.activeLine);
    plane_.ApplyFormula();
}

bool WorkplaceMenu::LoadFile(const QByteArray& nativePath) {
    const FileResult<LoadedWorkplace> loaded = ReadWorkplaceFile(nativePath);
    if (!loaded) {
        prompts_.showError(window_, Tr(kBadWorkplaceCaption), Q(loaded.Reason()));
        return false;
    }
    Apply(loaded->workplace);
    emit fileUsed(QFile::decodeName(nativePath));
    if (!loaded->damage.empty()) prompts_.showError(window_, Tr(kBadWorkplaceCaption), Q(loaded->damage));
    return true;
}

bool WorkplaceMenu::SaveFile(const QString& path) {
    const FileResult<> saved = WriteWorkplaceFile(QFile::encodeName(path), Capture());
    if (!saved) prompts_.showError(window_, Tr(kWriteErrorCaption), Tr(kWorkplaceNotSaved) + "\n\n" + Q(saved.Reason()));
    if (saved) emit fileUsed(path);
    return static_cast<bool>(saved);
}

void WorkplaceMenu::Reset() {
    if (!prompts_.ask(window_, Tr(kResetCaption), Tr(kResetQuestion))) return;
    plane_.RecordEdit(QStringLiteral("создание"), ContentPart::Both, [this] { plane_.Model().Reset(); });
    plane_.Repaint();
    emit fileForgotten();
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
