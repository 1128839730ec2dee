<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="ru_RU">
<context>
    <name>kalvera::CellTableWindow</name>
    <message>
        <source>Ячейки</source>
        <translation>Ячейки</translation>
    </message>
    <message>
        <source>№</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Широта</source>
        <translation>Широта</translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation>Долгота</translation>
    </message>
    <message>
        <source>Площадь, км²</source>
        <translation>Площадь, км²</translation>
    </message>
    <message>
        <source>Макс., дБZ</source>
        <translation>Макс., дБZ</translation>
    </message>
    <message>
        <source>Верх. граница, м</source>
        <translation>Верх. граница, м</translation>
    </message>
    <message>
        <source>VIL макс., кг/м²</source>
        <translation>VIL макс., кг/м²</translation>
    </message>
    <message>
        <source>Скорость, км/ч</source>
        <translation>Скорость, км/ч</translation>
    </message>
    <message>
        <source>Курс, °</source>
        <translation>Курс, °</translation>
    </message>
    <message>
        <source>Слились</source>
        <translation>Слились</translation>
    </message>
    <message>
        <source>Отделилась от</source>
        <translation>Отделилась от</translation>
    </message>
    <message>
        <source>свой путь</source>
        <translation>свой путь</translation>
    </message>
    <message>
        <source>поле: новая</source>
        <translation>поле: новая</translation>
    </message>
    <message>
        <source>поле: путь не движение</source>
        <translation>поле: путь не движение</translation>
    </message>
    <message>
        <source>неправдоподобна</source>
        <translation>неправдоподобна</translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>Азимут, °</source>
        <translation>Азимут, °</translation>
    </message>
    <message>
        <source>Дальность, км</source>
        <translation>Дальность, км</translation>
    </message>
    <message>
        <source>Движение по</source>
        <translation>Движение по</translation>
    </message>
    <message>
        <source>%1, срок %2 GMT: ячеек %3</source>
        <translation>%1, срок %2 GMT: ячеек %3</translation>
    </message>
</context>
<context>
    <name>kalvera::ColourMenu</name>
    <message>
        <source>Цвета отражаемости</source>
        <translation>Цвета отражаемости</translation>
    </message>
    <message>
        <source>Цвета верхней границы</source>
        <translation>Цвета верхней границы</translation>
    </message>
    <message>
        <source>Цвета явлений</source>
        <translation>Цвета явлений</translation>
    </message>
    <message>
        <source>Цвета VIL</source>
        <translation>Цвета VIL</translation>
    </message>
    <message>
        <source>Таблица цветов не прочитана:
%1</source>
        <translation>Таблица цветов не прочитана:
%1</translation>
    </message>
    <message>
        <source>Таблица цветов прочитана с замечаниями:
%1</source>
        <translation>Таблица цветов прочитана с замечаниями:
%1</translation>
    </message>
    <message>
        <source>классическая (colors.bin)</source>
        <translation>классическая (colors.bin)</translation>
    </message>
    <message>
        <source>Свои таблицы: %1</source>
        <translation>Свои таблицы: %1</translation>
    </message>
    <message>
        <source>Непрозрачность ячеек</source>
        <translation>Непрозрачность ячеек</translation>
    </message>
    <message>
        <source>оттенки серого</source>
        <translation>оттенки серого</translation>
    </message>
    <message>
        <source>различимая при нарушениях цветового зрения</source>
        <translation>различимая при нарушениях цветового зрения</translation>
    </message>
</context>
<context>
    <name>kalvera::DataAge</name>
    <message>
        <source>нет данных</source>
        <translation>нет данных</translation>
    </message>
    <message>
        <source>мин</source>
        <translation>мин</translation>
    </message>
    <message>
        <source>ч</source>
        <translation>ч</translation>
    </message>
    <message>
        <source>сут</source>
        <translation>сут</translation>
    </message>
    <message>
        <source>назад</source>
        <translation>назад</translation>
    </message>
</context>
<context>
    <name>kalvera::Dialogs</name>
    <message>
        <source>Не удалось сохранить файл </source>
        <translation>Не удалось сохранить файл </translation>
    </message>
</context>
<context>
    <name>kalvera::ExceptionGuard</name>
    <message>
        <source>Неизвестная ошибка</source>
        <translation>Неизвестная ошибка</translation>
    </message>
</context>
<context>
    <name>kalvera::FirstStartDialog</name>
    <message>
        <source>Файла settings нет в каталоге пользователя
%1.</source>
        <translation>Файла settings нет в каталоге пользователя
%1.</translation>
    </message>
    <message>
        <source>Файла settings нет ни в текущем каталоге
%1,
ни в каталоге пользователя
%2.</source>
        <translation>Файла settings нет ни в текущем каталоге
%1,
ни в каталоге пользователя
%2.</translation>
    </message>
    <message>
        <source>Программа читает настройки (файл settings) и карту (каталог res) из рабочего каталога. </source>
        <translation>Программа читает настройки (файл settings) и карту (каталог res) из рабочего каталога. </translation>
    </message>
    <message>
        <source>%1 — первый запуск</source>
        <translation>%1 — первый запуск</translation>
    </message>
    <message>
        <source>&lt;b&gt;Не найден файл settings&lt;/b&gt;</source>
        <translation>&lt;b&gt;Не найден файл settings&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Создать демонстрационный архив</source>
        <translation>Создать демонстрационный архив</translation>
    </message>
    <message>
        <source>Выбрать рабочий каталог…</source>
        <translation>Выбрать рабочий каталог…</translation>
    </message>
    <message>
        <source>Указать существующий каталог с файлом settings. Программа запомнит его для следующих запусков.</source>
        <translation>Указать существующий каталог с файлом settings. Программа запомнит его для следующих запусков.</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Записать в каталог пользователя синтетические данные радиолокаторов (%1) за %2 дня и открыть их.</source>
        <translation>Записать в каталог пользователя синтетические данные радиолокаторов (%1) за %2 дня и открыть их.</translation>
    </message>
</context>
<context>
    <name>kalvera::Header</name>
    <message>
        <source>РРП а/п %1. Дата %2 Время %3 сгв</source>
        <translation>РРП а/п %1. Дата %2 Время %3 сгв</translation>
    </message>
    <message>
        <source>РРП а/п%1. Дата %2 Время %3 сгв</source>
        <translation>РРП а/п%1. Дата %2 Время %3 сгв</translation>
    </message>
    <message>
        <source>Слой %1</source>
        <translation>Слой %1</translation>
    </message>
    <message>
        <source>Легенда</source>
        <translation>Легенда</translation>
    </message>
    <message>
        <source>РРП </source>
        <translation>РРП </translation>
    </message>
    <message>
        <source> сгв — </source>
        <translation> сгв — </translation>
    </message>
</context>
<context>
    <name>kalvera::HistoryWindow</name>
    <message>
        <source>Срок, ч</source>
        <translation>Срок, ч</translation>
    </message>
    <message>
        <source>История точки</source>
        <translation>История точки</translation>
    </message>
    <message>
        <source>, дБZ</source>
        <translation>, дБZ</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>Сохранить CSV...</source>
        <translation>Сохранить CSV...</translation>
    </message>
    <message>
        <source>Станция %1, %2, точка %3 %4, аз. %5°, %6 км, сроков: %7</source>
        <translation>Станция %1, %2, точка %3 %4, аз. %5°, %6 км, сроков: %7</translation>
    </message>
</context>
<context>
    <name>kalvera::Legend</name>
    <message>
        <source>Осадки слабые</source>
        <translation>Осадки слабые</translation>
    </message>
    <message>
        <source>Осадки умеренные</source>
        <translation>Осадки умеренные</translation>
    </message>
    <message>
        <source>Осадки сильные</source>
        <translation>Осадки сильные</translation>
    </message>
    <message>
        <source>Мощнокучевые</source>
        <translation>Мощнокучевые</translation>
    </message>
    <message>
        <source>ливень слабый</source>
        <translation>ливень слабый</translation>
    </message>
    <message>
        <source>ливень умеренный</source>
        <translation>ливень умеренный</translation>
    </message>
    <message>
        <source>ливень сильный</source>
        <translation>ливень сильный</translation>
    </message>
    <message>
        <source>гроза слабая</source>
        <translation>гроза слабая</translation>
    </message>
    <message>
        <source>гроза умеренная</source>
        <translation>гроза умеренная</translation>
    </message>
    <message>
        <source>гроза сильная</source>
        <translation>гроза сильная</translation>
    </message>
    <message>
        <source>град слабый</source>
        <translation>град слабый</translation>
    </message>
    <message>
        <source>град умеренный</source>
        <translation>град умеренный</translation>
    </message>
    <message>
        <source>град сильный</source>
        <translation>град сильный</translation>
    </message>
    <message>
        <source>шквал  слабый</source>
        <translation>шквал  слабый</translation>
    </message>
    <message>
        <source>шквал  умеренный</source>
        <translation>шквал  умеренный</translation>
    </message>
    <message>
        <source>шквал  сильный</source>
        <translation>шквал  сильный</translation>
    </message>
    <message>
        <source>торнадо</source>
        <translation>торнадо</translation>
    </message>
    <message>
        <source>Срок</source>
        <translation>Срок</translation>
    </message>
    <message>
        <source>Слой</source>
        <translation>Слой</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>Азимут</source>
        <translation>Азимут</translation>
    </message>
    <message>
        <source>Дальность</source>
        <translation>Дальность</translation>
    </message>
    <message>
        <source>Широта</source>
        <translation>Широта</translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation>Долгота</translation>
    </message>
    <message>
        <source>Погода</source>
        <translation>Погода</translation>
    </message>
    <message>
        <source>Верх.граница</source>
        <translation>Верх.граница</translation>
    </message>
    <message>
        <source>Макс. отражаемость</source>
        <translation>Макс. отражаемость</translation>
    </message>
    <message>
        <source>VIL, кг/м²</source>
        <translation>VIL, кг/м²</translation>
    </message>
    <message>
        <source>Отр. %1 - %2 км.</source>
        <translation>Отр. %1 - %2 км.</translation>
    </message>
    <message>
        <source>Макс</source>
        <translation>Макс</translation>
    </message>
    <message>
        <source>, м</source>
        <translation>, м</translation>
    </message>
    <message>
        <source>Непрозр. %1 %</source>
        <translation>Непрозр. %1 %</translation>
    </message>
</context>
<context>
    <name>kalvera::LoopPanel</name>
    <message>
        <source>Кадр назад</source>
        <translation>Кадр назад</translation>
    </message>
    <message>
        <source>Кадр вперед</source>
        <translation>Кадр вперед</translation>
    </message>
    <message>
        <source>Кадр петли</source>
        <translation>Кадр петли</translation>
    </message>
    <message>
        <source>Число кадров петли</source>
        <translation>Число кадров петли</translation>
    </message>
    <message>
        <source>Скорость, кадров в секунду</source>
        <translation>Скорость, кадров в секунду</translation>
    </message>
    <message>
        <source> к/с</source>
        <translation> к/с</translation>
    </message>
    <message>
        <source>Задержка на последнем кадре, с</source>
        <translation>Задержка на последнем кадре, с</translation>
    </message>
    <message>
        <source> с</source>
        <translation> с</translation>
    </message>
    <message>
        <source>Последний срок станции и его возраст</source>
        <translation>Последний срок станции и его возраст</translation>
    </message>
    <message>
        <source>Сохранить анимацию…</source>
        <translation>Сохранить анимацию…</translation>
    </message>
    <message>
        <source>Петля как анимированный GIF</source>
        <translation>Петля как анимированный GIF</translation>
    </message>
    <message>
        <source>Пауза (пробел)</source>
        <translation>Пауза (пробел)</translation>
    </message>
    <message>
        <source>Петля: пуск (пробел)</source>
        <translation>Петля: пуск (пробел)</translation>
    </message>
    <message>
        <source>Последний срок станции и его возраст: </source>
        <translation>Последний срок станции и его возраст: </translation>
    </message>
    <message>
        <source>Клавиши окна:
← →  предыдущий и следующий срок
Home, End  первый и последний срок дня
PageUp, PageDown  день назад и вперед
Пробел  петля: пуск и пауза
Esc  остановить петлю
+ −  шаг масштаба
Колесо над картой  масштаб вокруг курсора
F1  эта подсказка</source>
        <translation>Клавиши окна:
← →  предыдущий и следующий срок
Home, End  первый и последний срок дня
PageUp, PageDown  день назад и вперед
Пробел  петля: пуск и пауза
Esc  остановить петлю
+ −  шаг масштаба
Колесо над картой  масштаб вокруг курсора
F1  эта подсказка</translation>
    </message>
    <message>
        <source>прогноз %1/%2</source>
        <translation>прогноз %1/%2</translation>
    </message>
</context>
<context>
    <name>kalvera::Mosaic</name>
    <message>
        <source>%1 из %2 станции</source>
        <translation>%1 из %2 станции</translation>
    </message>
    <message>
        <source>%1 из %2 станций</source>
        <translation>%1 из %2 станций</translation>
    </message>
    <message>
        <source>Сводная карта</source>
        <translation>Сводная карта</translation>
    </message>
    <message>
        <source> сгв</source>
        <translation> сгв</translation>
    </message>
</context>
<context>
    <name>kalvera::MosaicWindow</name>
    <message>
        <source>Сводная карта</source>
        <translation>Сводная карта</translation>
    </message>
    <message>
        <source>; нет: </source>
        <translation>; нет: </translation>
    </message>
    <message>
        <source>широта %1, долгота %2</source>
        <translation>широта %1, долгота %2</translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation>нет данных</translation>
    </message>
    <message>
        <source>ничего не обнаружено</source>
        <translation>ничего не обнаружено</translation>
    </message>
    <message>
        <source>Значение %1 (%2) — %3</source>
        <translation>Значение %1 (%2) — %3</translation>
    </message>
    <message>
        <source> — показан срок наблюдения, не прогноз +%1 мин</source>
        <translation> — показан срок наблюдения, не прогноз +%1 мин</translation>
    </message>
    <message>
        <source>, азимут %1°, дальность %2 км</source>
        <translation>, азимут %1°, дальность %2 км</translation>
    </message>
    <message>
        <source>, срок %1</source>
        <translation>, срок %1</translation>
    </message>
    <message>
        <source>Сохранить картинку…</source>
        <translation>Сохранить картинку…</translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation>Печать…</translation>
    </message>
    <message>
        <source> — прогноз +%1 мин</source>
        <translation> — прогноз +%1 мин</translation>
    </message>
    <message>
        <source>Прогноз +%1 мин: %2 — %3</source>
        <translation>Прогноз +%1 мин: %2 — %3</translation>
    </message>
</context>
<context>
    <name>kalvera::Nowcast</name>
    <message>
        <source>+%1 мин</source>
        <translation>+%1 мин</translation>
    </message>
    <message>
        <source>низкая надёжность</source>
        <translation>низкая надёжность</translation>
    </message>
    <message>
        <source>ПРОГНОЗ %1 от %2</source>
        <translation>ПРОГНОЗ %1 от %2</translation>
    </message>
    <message>
        <source>Ячейка %1</source>
        <translation>Ячейка %1</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>площадь %1 км²</source>
        <translation>площадь %1 км²</translation>
    </message>
    <message>
        <source>макс. %1 дБZ</source>
        <translation>макс. %1 дБZ</translation>
    </message>
    <message>
        <source>верхняя граница %1 м</source>
        <translation>верхняя граница %1 м</translation>
    </message>
    <message>
        <source>VIL макс. %1 кг/м²</source>
        <translation>VIL макс. %1 кг/м²</translation>
    </message>
    <message>
        <source>%1 км/ч, курс %2°</source>
        <translation>%1 км/ч, курс %2°</translation>
    </message>
    <message>
        <source>слились: %1</source>
        <translation>слились: %1</translation>
    </message>
    <message>
        <source>отделилась от %1</source>
        <translation>отделилась от %1</translation>
    </message>
    <message>
        <source>макс. отражаемость ≥ %1 dBZ</source>
        <translation>макс. отражаемость ≥ %1 dBZ</translation>
    </message>
    <message>
        <source>движение: —</source>
        <translation>движение: —</translation>
    </message>
    <message>
        <source>(по полю движения: новая ячейка)</source>
        <translation>(по полю движения: новая ячейка)</translation>
    </message>
    <message>
        <source>(по полю движения: путь центра не движение)</source>
        <translation>(по полю движения: путь центра не движение)</translation>
    </message>
</context>
<context>
    <name>kalvera::Program</name>
    <message>
        <source>КАЛВЕРА</source>
        <translation>КАЛВЕРА</translation>
    </message>
</context>
<context>
    <name>kalvera::Publish</name>
    <message>
        <source> — не удалось записать </source>
        <translation> — не удалось записать </translation>
    </message>
    <message>
        <source>пропущена строка </source>
        <translation>пропущена строка </translation>
    </message>
    <message>
        <source>пропущены строки </source>
        <translation>пропущены строки </translation>
    </message>
</context>
<context>
    <name>kalvera::Section</name>
    <message>
        <source>Расстояние, км</source>
        <translation>Расстояние, км</translation>
    </message>
    <message>
        <source>%1: %2 %3, аз. %4°, %5 км</source>
        <translation>%1: %2 %3, аз. %4°, %5 км</translation>
    </message>
    <message>
        <source>Высота, км</source>
        <translation>Высота, км</translation>
    </message>
    <message>
        <source>высота %1 км</source>
        <translation>высота %1 км</translation>
    </message>
    <message>
        <source>, слой %1: %2</source>
        <translation>, слой %1: %2</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>, верх. граница %1 м</source>
        <translation>, верх. граница %1 м</translation>
    </message>
    <message>
        <source>%1 км, %2, %3 %4</source>
        <translation>%1 км, %2, %3 %4</translation>
    </message>
    <message>
        <source>Срок %1, %2</source>
        <translation>Срок %1, %2</translation>
    </message>
    <message>
        <source>Срок, ч</source>
        <translation>Срок, ч</translation>
    </message>
    <message>
        <source>верх. гр.</source>
        <translation>верх. гр.</translation>
    </message>
    <message>
        <source>Станция %1, %2, срок %3. Разрез %4 км: слои 1–10 и верхняя граница</source>
        <translation>Станция %1, %2, срок %3. Разрез %4 км: слои 1–10 и верхняя граница</translation>
    </message>
</context>
<context>
    <name>kalvera::SectionWindow</name>
    <message>
        <source>Вертикальный разрез</source>
        <translation>Вертикальный разрез</translation>
    </message>
    <message>
        <source>Сохранить PNG...</source>
        <translation>Сохранить PNG...</translation>
    </message>
</context>
<context>
    <name>kalvera::StartDirectory</name>
    <message>
        <source>Запись демонстрационного архива в каталог
%1</source>
        <translation>Запись демонстрационного архива в каталог
%1</translation>
    </message>
    <message>
        <source>Рабочий каталог (с файлом settings)</source>
        <translation>Рабочий каталог (с файлом settings)</translation>
    </message>
    <message>
        <source>В каталоге %1 нет файла settings.</source>
        <translation>В каталоге %1 нет файла settings.</translation>
    </message>
    <message>
        <source>Путь %1 содержит пробел, а в файле settings путь к архиву пробела содержать не может. Выберите другой рабочий каталог.</source>
        <translation>Путь %1 содержит пробел, а в файле settings путь к архиву пробела содержать не может. Выберите другой рабочий каталог.</translation>
    </message>
    <message>
        <source>Не найдены файлы карты и пунктов, поставляемые с программой (каталог %1). Переустановите программу.</source>
        <translation>Не найдены файлы карты и пунктов, поставляемые с программой (каталог %1). Переустановите программу.</translation>
    </message>
    <message>
        <source>Не удалось создать каталог %1.</source>
        <translation>Не удалось создать каталог %1.</translation>
    </message>
    <message>
        <source>Не удалось создать демонстрационный архив в каталоге %1:
%2</source>
        <translation>Не удалось создать демонстрационный архив в каталоге %1:
%2</translation>
    </message>
    <message>
        <source>Не удалось перейти в каталог %1.</source>
        <translation>Не удалось перейти в каталог %1.</translation>
    </message>
</context>
<context>
    <name>kalvera::StartMessages</name>
    <message>
        <source>каталог архива</source>
        <translation>каталог архива</translation>
    </message>
    <message>
        <source>период обновления</source>
        <translation>период обновления</translation>
    </message>
    <message>
        <source>станция по умолчанию</source>
        <translation>станция по умолчанию</translation>
    </message>
    <message>
        <source>резервный текст</source>
        <translation>резервный текст</translation>
    </message>
    <message>
        <source>широта центра</source>
        <translation>широта центра</translation>
    </message>
    <message>
        <source>долгота центра</source>
        <translation>долгота центра</translation>
    </message>
    <message>
        <source>значение %1 (%2)</source>
        <translation>значение %1 (%2)</translation>
    </message>
    <message>
        <source>файл не найден</source>
        <translation>файл не найден</translation>
    </message>
    <message>
        <source>нет прав на чтение</source>
        <translation>нет прав на чтение</translation>
    </message>
    <message>
        <source>это каталог, а не файл</source>
        <translation>это каталог, а не файл</translation>
    </message>
    <message>
        <source>часть пути не является каталогом</source>
        <translation>часть пути не является каталогом</translation>
    </message>
    <message>
        <source>слишком длинный путь</source>
        <translation>слишком длинный путь</translation>
    </message>
    <message>
        <source>слишком много символических ссылок</source>
        <translation>слишком много символических ссылок</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода</source>
        <translation>ошибка ввода-вывода</translation>
    </message>
    <message>
        <source>открыто слишком много файлов</source>
        <translation>открыто слишком много файлов</translation>
    </message>
    <message>
        <source>недостаточно памяти</source>
        <translation>недостаточно памяти</translation>
    </message>
    <message>
        <source>причина неизвестна</source>
        <translation>причина неизвестна</translation>
    </message>
    <message>
        <source>системная ошибка %1</source>
        <translation>системная ошибка %1</translation>
    </message>
    <message>
        <source>Ошибка в файле настроек %1: </source>
        <translation>Ошибка в файле настроек %1: </translation>
    </message>
    <message>
        <source>Не удалось определить рабочий каталог: %1.</source>
        <translation>Не удалось определить рабочий каталог: %1.</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл настроек %1: %2.</source>
        <translation>Не удалось прочитать файл настроек %1: %2.</translation>
    </message>
    <message>
        <source>нет значения %1 (%2); в файле %3 из 6 значений.</source>
        <translation>нет значения %1 (%2); в файле %3 из 6 значений.</translation>
    </message>
    <message>
        <source>%1 длиннее 255 байт.</source>
        <translation>%1 длиннее 255 байт.</translation>
    </message>
    <message>
        <source>%1 %2 не является целым числом.</source>
        <translation>%1 %2 не является целым числом.</translation>
    </message>
    <message>
        <source>%1 %2 не является числом.</source>
        <translation>%1 %2 не является числом.</translation>
    </message>
    <message>
        <source>Не удалось прочитать таблицу станций %1: %2.</source>
        <translation>Не удалось прочитать таблицу станций %1: %2.</translation>
    </message>
</context>
<context>
    <name>kalvera::TForm1</name>
    <message>
        <source>День назад</source>
        <translation>День назад</translation>
    </message>
    <message>
        <source>Выбор даты</source>
        <translation>Выбор даты</translation>
    </message>
    <message>
        <source>День вперед</source>
        <translation>День вперед</translation>
    </message>
    <message>
        <source>Автообновление</source>
        <translation>Автообновление</translation>
    </message>
    <message>
        <source>Срок</source>
        <translation>Срок</translation>
    </message>
    <message>
        <source>Слой</source>
        <translation>Слой</translation>
    </message>
    <message>
        <source>Фильтр</source>
        <translation>Фильтр</translation>
    </message>
    <message>
        <source>Масштаб в окне</source>
        <translation>Масштаб в окне</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Слой =</source>
        <translation>Слой =</translation>
    </message>
    <message>
        <source>Фильтр = %1</source>
        <translation>Фильтр = %1</translation>
    </message>
    <message>
        <source>Масштаб: 1 дел = %1 км</source>
        <translation>Масштаб: 1 дел = %1 км</translation>
    </message>
    <message>
        <source>Не найдена база данных.</source>
        <translation>Не найдена база данных.</translation>
    </message>
    <message>
        <source>Ошибка в базе данных</source>
        <translation>Ошибка в базе данных</translation>
    </message>
    <message>
        <source>Не удалось начать печать: </source>
        <translation>Не удалось начать печать: </translation>
    </message>
    <message>
        <source>Не удалось записать файл %1</source>
        <translation>Не удалось записать файл %1</translation>
    </message>
    <message>
        <source>Продукт «%1» срока %2 не построен: сообщение слоя %3 не декодируется.</source>
        <translation>Продукт «%1» срока %2 не построен: сообщение слоя %3 не декодируется.</translation>
    </message>
    <message>
        <source>Ячейки показаны с непрозрачностью %1 %: так выбрано раньше.
Изменить: меню карты (Ctrl+правый щелчок) → «Непрозрачность ячеек».</source>
        <translation>Ячейки показаны с непрозрачностью %1 %: так выбрано раньше.
Изменить: меню карты (Ctrl+правый щелчок) → «Непрозрачность ячеек».</translation>
    </message>
    <message>
        <source>Продукт «%1» срока %2 не построен: сообщения слоёв %3 не декодируются.</source>
        <translation>Продукт «%1» срока %2 не построен: сообщения слоёв %3 не декодируются.</translation>
    </message>
</context>
<context>
    <name>kalvera::TcalendarForm</name>
    <message>
        <source>Январь</source>
        <translation>Январь</translation>
    </message>
    <message>
        <source>Февраль</source>
        <translation>Февраль</translation>
    </message>
    <message>
        <source>Март</source>
        <translation>Март</translation>
    </message>
    <message>
        <source>Апрель</source>
        <translation>Апрель</translation>
    </message>
    <message>
        <source>Май</source>
        <translation>Май</translation>
    </message>
    <message>
        <source>Июнь</source>
        <translation>Июнь</translation>
    </message>
    <message>
        <source>Июль</source>
        <translation>Июль</translation>
    </message>
    <message>
        <source>Август</source>
        <translation>Август</translation>
    </message>
    <message>
        <source>Сентябрь</source>
        <translation>Сентябрь</translation>
    </message>
    <message>
        <source>Октябрь</source>
        <translation>Октябрь</translation>
    </message>
    <message>
        <source>Ноябрь</source>
        <translation>Ноябрь</translation>
    </message>
    <message>
        <source>Декабрь</source>
        <translation>Декабрь</translation>
    </message>
    <message>
        <source>Пн</source>
        <translation>Пн</translation>
    </message>
    <message>
        <source>Вт</source>
        <translation>Вт</translation>
    </message>
    <message>
        <source>Ср</source>
        <translation>Ср</translation>
    </message>
    <message>
        <source>Чт</source>
        <translation>Чт</translation>
    </message>
    <message>
        <source>Пт</source>
        <translation>Пт</translation>
    </message>
    <message>
        <source>Сб</source>
        <translation>Сб</translation>
    </message>
    <message>
        <source>Вс</source>
        <translation>Вс</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Дата</translation>
    </message>
</context>
<context>
    <name>kalvera::VerticalTools</name>
    <message>
        <source>Не удалось прочитать индексный файл </source>
        <translation>Не удалось прочитать индексный файл </translation>
    </message>
    <message>
        <source>История точки	Ctrl+щелчок</source>
        <translation>История точки	Ctrl+щелчок</translation>
    </message>
    <message>
        <source>Разрез отсюда	протяжка правой кнопкой</source>
        <translation>Разрез отсюда	протяжка правой кнопкой</translation>
    </message>
    <message>
        <source>Центр карты сюда	щелчок</source>
        <translation>Центр карты сюда	щелчок</translation>
    </message>
    <message>
        <source>Крупнее	+, колесо от себя</source>
        <translation>Крупнее	+, колесо от себя</translation>
    </message>
    <message>
        <source>Мельче	−, колесо к себе</source>
        <translation>Мельче	−, колесо к себе</translation>
    </message>
    <message>
        <source>Клавиши и мышь	F1</source>
        <translation>Клавиши и мышь	F1</translation>
    </message>
    <message>
        <source>Прогноз и ячейки на карте	F6</source>
        <translation>Прогноз и ячейки на карте	F6</translation>
    </message>
    <message>
        <source>Таблица ячеек	F7</source>
        <translation>Таблица ячеек	F7</translation>
    </message>
    <message>
        <source>Сводная карта	F8</source>
        <translation>Сводная карта	F8</translation>
    </message>
    <message>
        <source>К последнему сроку	F5</source>
        <translation>К последнему сроку	F5</translation>
    </message>
</context>
<context>
    <name>kalvera::WindowKeys</name>
    <message>
        <source>
F5  к последнему сроку станции из любого дня
F6  прогноз: контуры через 10, 20, 30 мин, ячейки и их пути; петля идет дальше в кадры прогноза
F7  таблица ячеек срока
F8  сводная карта всех станций

Мышь:
Щелчок по карте  центр карты в эту точку
Протяжка правой кнопкой  вертикальный разрез по линии
Ctrl+щелчок  история точки за день
Ctrl+правый щелчок, клавиша меню  меню карты
Двойной щелчок по легенде  цвет класса</source>
        <translation>
F5  к последнему сроку станции из любого дня
F6  прогноз: контуры через 10, 20, 30 мин, ячейки и их пути; петля идет дальше в кадры прогноза
F7  таблица ячеек срока
F8  сводная карта всех станций

Мышь:
Щелчок по карте  центр карты в эту точку
Протяжка правой кнопкой  вертикальный разрез по линии
Ctrl+щелчок  история точки за день
Ctrl+правый щелчок, клавиша меню  меню карты
Двойной щелчок по легенде  цвет класса</translation>
    </message>
</context>
</TS>
