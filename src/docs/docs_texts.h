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
// %1 is the largest size in bytes; the same text whether a file is read or would be written.
inline constexpr const char* kWorkplaceTooLargeText =
    "Файл слишком велик для рабочего места: рабочее место занимает не больше %1 байт.";
// %1 is the file's name.
inline constexpr const char* kDamagedWorkplaceText =
    "Файл «%1» повреждён: он обрывается до конца рабочего места; недостающие поля пусты.";
inline constexpr const char* kResetQuestion = "Вернуть все параметры к начальным установкам?";
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

// A workplace in JSON (the `workplace` verb): what is not JSON, and JSON that is no workplace.
inline constexpr const char* kJsonInvalid = "неверный JSON: %1 (байт %2)";
inline constexpr const char* kJsonCutShort = "текст обрывается";
inline constexpr const char* kJsonValueExpected = "ожидалось значение";
inline constexpr const char* kJsonTrailingText = "после значения лишний текст";
inline constexpr const char* kJsonKeyExpected = "ожидалось имя поля в кавычках";
inline constexpr const char* kJsonColonExpected = "ожидалось «:»";
inline constexpr const char* kJsonObjectGoesOn = "ожидалась «,» или «}»";
inline constexpr const char* kJsonArrayGoesOn = "ожидалась «,» или «]»";
inline constexpr const char* kJsonRepeatedKey = "поле \"%1\" задано дважды";
inline constexpr const char* kJsonBadEscape = "неверная escape-последовательность";
inline constexpr const char* kJsonLoneSurrogate = "%1 — половина суррогатной пары без второй половины";
inline constexpr const char* kJsonControlInString = "управляющий символ внутри строки";
inline constexpr const char* kJsonNotUtf8 = "байты не составляют текст UTF-8";
inline constexpr const char* kJsonBadNumber = "неверное число";
inline constexpr const char* kJsonTooDeep = "вложенность глубже %1 уровней";
inline constexpr const char* kJsonNotObject = "JSON должен быть объектом";
inline constexpr const char* kJsonUnknownKey = "неизвестное поле \"%1\"";
inline constexpr const char* kJsonBadAbsolute = "\"absolute\" должно быть true или false";
inline constexpr const char* kJsonBadRange = "\"range\" должно быть массивом из четырёх чисел";
inline constexpr const char* kJsonRangeOverflow = "число %1 в \"range\" не помещается в 80-битное число";
inline constexpr const char* kJsonBadList = "\"list\" должно быть массивом строк";
inline constexpr const char* kJsonBadCalc = "\"calc\" должно быть массивом из двух строк";
inline constexpr const char* kJsonBadActive = "\"active\" должно быть 1 или 2";
inline constexpr const char* kJsonNotString = "%1 должно быть строкой";

// Pictures of the graph.
inline constexpr const char* kSavePictureTitle = "Сохранение изображения графика ...";
inline constexpr const char* kPictureNotSaved = "Изображение графика не сохранено.";
inline constexpr const char* kPictureDefaultName = "график";
inline constexpr const char* kPictureSizeLabel = "Р&азмер:";
inline constexpr const char* kPictureSizeUnit = "точек";
inline constexpr const char* kPictureLegendBox = "&Легенда";
inline constexpr const char* kPictureLegendHint = "Под графиком — формулы цветами их графиков";
inline constexpr const char* kUnknownPictureFormat =
    "Неизвестный формат файла «%1»: нужно расширение .emf, .bmp, .wmf, .png, .svg или .pdf.";

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
