// What the workplace, picture and print commands say to the user, in one place (UTF-8).
#pragma once

namespace kq {

// Workplace files.
inline constexpr const char* kWorkplaceFilter = "Рабочее место Кванториума+ (*.kwp)";
inline constexpr const char* kWorkplaceExtension = "kwp";
inline constexpr const char* kSaveWorkplaceTitle = "Сохранение рабочего места ...";
inline constexpr const char* kLoadWorkplaceTitle = "Загрузить рабочее место ...";
inline constexpr const char* kBadWorkplaceText =
    "Я не могу прочитать данный файл, т.к. он сохранен в неправильном формате.";
inline constexpr const char* kBadWorkplaceCaption = "Ошибка чтения";
inline constexpr const char* kWorkplaceTooLargeText = "Файл слишком велик для рабочего места.";
inline constexpr const char* kResetQuestion = "Вернуть все параметры к начальным установкам ?";
inline constexpr const char* kResetCaption = "Кванториум+";
inline constexpr const char* kWriteErrorCaption = "Ошибка записи";
inline constexpr const char* kWorkplaceNotSaved = "Рабочее место не сохранено.";

// Why a workplace cannot be kept; %1 is a field, %2 a character.
inline constexpr const char* kFieldNames[] = {"Формула графика", "Первая строка калькулятора",
                                              "Вторая строка калькулятора"};
inline constexpr const char* kListEntryName = "Формула №%1 списка";
inline constexpr const char* kTerminatorInText =
    "%1 содержит знак «%2»: в файле рабочего места им заканчивается это поле.";
inline constexpr const char* kNotInCodePage = "%1 содержит символ «%2», которого нет в кодировке Windows-1251.";
inline constexpr const char* kBadUtf8 = "%1 содержит байты, которые не составляют текст UTF-8.";
inline constexpr const char* kTooManyListEntries = "В списке %1 формул, а файл рабочего места вмещает не больше %2.";

// Pictures of the graph.
inline constexpr const char* kSavePictureTitle = "Сохранение изображения графика ...";
inline constexpr const char* kPictureNotSaved = "Изображение графика не сохранено.";
inline constexpr const char* kPictureDefaultName = "график";
inline constexpr const char* kPictureSizeLabel = "Р&азмер:";
inline constexpr const char* kPictureSizeUnit = "точек";
inline constexpr const char* kPictureLegendBox = "&Легенда";
inline constexpr const char* kPictureLegendHint = "Под графиком — формулы цветами их графиков";
inline constexpr const char* kUnknownPictureFormat =
    "Неизвестный формат файла «%1»: нужно расширение .emf, .bmp, .png, .svg или .pdf.";

// Printing.
inline constexpr const char* kPrintJobTitle = "Кванториум KX  -  график";
inline constexpr const char* kNoPrinterText = "Нет принтера, установленного по умолчанию";
inline constexpr const char* kNoPrinterCaption = "Ошибка";
inline constexpr const char* kOfferPdfText = "График можно напечатать в файл PDF.";
inline constexpr const char* kPdfButton = "В файл PDF...";
inline constexpr const char* kPrintCaption = "Печать";
inline constexpr const char* kPrintToPdfTitle = "Печать в файл PDF ...";
inline constexpr const char* kPdfFilter = "Документ PDF (*.pdf)";
inline constexpr const char* kNothingPrintedText = "Ничего не напечатано: у страницы или у графика нулевой размер.";
inline constexpr const char* kPrintFailedText = "Печать не удалась.";
inline constexpr const char* kStampPrefix = "Q+. ";
inline constexpr const char* kPrintFont = "Arial Cyr";

}  // namespace kq
