#include "services/files/FileDownloadFormUnit.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace {

// Tahoma where it is installed; otherwise a font that has Hangul, so the Korean texts never show boxes.
QFont formFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("NanumGothic"),
                      QStringLiteral("Noto Sans CJK KR"), QStringLiteral("UnDotum")});
    font.setPixelSize(pixelSize);
    return font;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int left) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 50, 75, 25);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFileDownloadForm::TFileDownloadForm(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FileDownloadForm"));
    setWindowTitle(QStringLiteral("파일 다운로드"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(formFont(11));
    resize(369, 83);

    Label1 = new QLabel(QStringLiteral("이 파일을 실행 또는 저장하시겠습니까?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(formFont(12));
    Label1->move(20, 16);
    Label1->adjustSize();

    // Created in tab order: save first, so that it also has the focus when the prompt opens.
    SaveButton = makeButton(this, "SaveButton", QStringLiteral("저장"), 205);
    AbortButton = makeButton(this, "AbortButton", QStringLiteral("취소"), 286);
    OpenButton = makeButton(this, "OpenButton", QStringLiteral("열기"), 124);
    setTabOrder(SaveButton, AbortButton);
    setTabOrder(AbortButton, OpenButton);
    SaveButton->setDefault(true);
    SaveButton->setFocus();

    connect(OpenButton, &QPushButton::clicked, this, &TFileDownloadForm::OpenButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TFileDownloadForm::SaveButtonClick);
    connect(AbortButton, &QPushButton::clicked, this, &TFileDownloadForm::AbortButtonClick);
}

void TFileDownloadForm::reject() {
    done(CancelResult);
}

void TFileDownloadForm::OpenButtonClick() {
    done(OpenResult);
}

void TFileDownloadForm::SaveButtonClick() {
    done(SaveResult);
}

void TFileDownloadForm::AbortButtonClick() {
    done(CancelResult);
}
