<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>kalvera::CellTableWindow</name>
    <message>
        <source>Ячейки</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Широта</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Площадь, км²</source>
        <translation>Area, km²</translation>
    </message>
    <message>
        <source>Макс., дБZ</source>
        <translation>Max, dBZ</translation>
    </message>
    <message>
        <source>Верх. граница, м</source>
        <translation>Echo top, m</translation>
    </message>
    <message>
        <source>VIL макс., кг/м²</source>
        <translation>VIL max, kg/m²</translation>
    </message>
    <message>
        <source>Скорость, км/ч</source>
        <translation>Speed, km/h</translation>
    </message>
    <message>
        <source>Курс, °</source>
        <translation>Heading, °</translation>
    </message>
    <message>
        <source>Слились</source>
        <translation>Merged</translation>
    </message>
    <message>
        <source>Отделилась от</source>
        <translation>Split from</translation>
    </message>
    <message>
        <source>свой путь</source>
        <translation>own track</translation>
    </message>
    <message>
        <source>поле: новая</source>
        <translation>field: new cell</translation>
    </message>
    <message>
        <source>поле: путь не движение</source>
        <translation>field: track is not motion</translation>
    </message>
    <message>
        <source>неправдоподобна</source>
        <translation>implausible</translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Азимут, °</source>
        <translation>Bearing, °</translation>
    </message>
    <message>
        <source>Дальность, км</source>
        <translation>Range, km</translation>
    </message>
    <message>
        <source>Движение по</source>
        <translation>Motion from</translation>
    </message>
    <message>
        <source>%1, срок %2 GMT: ячеек %3</source>
        <translation>%1, term %2 GMT: %3 cells</translation>
    </message>
</context>
<context>
    <name>kalvera::ColourMenu</name>
    <message>
        <source>Цвета отражаемости</source>
        <translation>Reflectivity colours</translation>
    </message>
    <message>
        <source>Цвета верхней границы</source>
        <translation>Echo-top colours</translation>
    </message>
    <message>
        <source>Цвета явлений</source>
        <translation>Phenomena colours</translation>
    </message>
    <message>
        <source>Цвета VIL</source>
        <translation>VIL colours</translation>
    </message>
    <message>
        <source>Таблица цветов не прочитана:
%1</source>
        <translation>The colour table could not be read:
%1</translation>
    </message>
    <message>
        <source>Таблица цветов прочитана с замечаниями:
%1</source>
        <translation>The colour table was read with warnings:
%1</translation>
    </message>
    <message>
        <source>классическая (colors.bin)</source>
        <translation>classic (colors.bin)</translation>
    </message>
    <message>
        <source>Свои таблицы: %1</source>
        <translation>Own tables: %1</translation>
    </message>
    <message>
        <source>Непрозрачность ячеек</source>
        <translation>Cell opacity</translation>
    </message>
    <message>
        <source>оттенки серого</source>
        <translation>greyscale</translation>
    </message>
    <message>
        <source>различимая при нарушениях цветового зрения</source>
        <translation>safe for colour-blind eyes</translation>
    </message>
</context>
<context>
    <name>kalvera::DataAge</name>
    <message>
        <source>нет данных</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>мин</source>
        <translation>min</translation>
    </message>
    <message>
        <source>ч</source>
        <translation>h</translation>
    </message>
    <message>
        <source>сут</source>
        <translation>d</translation>
    </message>
    <message>
        <source>назад</source>
        <translation>ago</translation>
    </message>
</context>
<context>
    <name>kalvera::Dialogs</name>
    <message>
        <source>Не удалось сохранить файл </source>
        <translation>Could not save the file </translation>
    </message>
</context>
<context>
    <name>kalvera::ExceptionGuard</name>
    <message>
        <source>Неизвестная ошибка</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>kalvera::FirstStartDialog</name>
    <message>
        <source>Файла settings нет в каталоге пользователя
%1.</source>
        <translation>There is no settings file in the user directory
%1.</translation>
    </message>
    <message>
        <source>Файла settings нет ни в текущем каталоге
%1,
ни в каталоге пользователя
%2.</source>
        <translation>There is no settings file in the current directory
%1
nor in the user directory
%2.</translation>
    </message>
    <message>
        <source>Программа читает настройки (файл settings) и карту (каталог res) из рабочего каталога. </source>
        <translation>The program reads its settings (the settings file) and its map (the res directory) from the working directory. </translation>
    </message>
    <message>
        <source>%1 — первый запуск</source>
        <translation>%1 — first start</translation>
    </message>
    <message>
        <source>&lt;b&gt;Не найден файл settings&lt;/b&gt;</source>
        <translation>&lt;b&gt;No settings file found&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Создать демонстрационный архив</source>
        <translation>Create a demo archive</translation>
    </message>
    <message>
        <source>Выбрать рабочий каталог…</source>
        <translation>Choose a working directory…</translation>
    </message>
    <message>
        <source>Указать существующий каталог с файлом settings. Программа запомнит его для следующих запусков.</source>
        <translation>Name an existing directory with a settings file. The program remembers it for the next starts.</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Записать в каталог пользователя синтетические данные радиолокаторов (%1) за %2 дня и открыть их.</source>
        <translation>Write %2 days of synthetic data from %1 radars to the user directory and open them.</translation>
    </message>
</context>
<context>
    <name>kalvera::Header</name>
    <message>
        <source>РРП а/п %1. Дата %2 Время %3 сгв</source>
        <translation>Radar %1. Date %2 Time %3 UTC</translation>
    </message>
    <message>
        <source>РРП а/п%1. Дата %2 Время %3 сгв</source>
        <translation>Radar %1. Date %2 Time %3 UTC</translation>
    </message>
    <message>
        <source>Слой %1</source>
        <translation>Layer %1</translation>
    </message>
    <message>
        <source>Легенда</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>РРП </source>
        <translation>Radar </translation>
    </message>
    <message>
        <source> сгв — </source>
        <translation> UTC — </translation>
    </message>
</context>
<context>
    <name>kalvera::HistoryWindow</name>
    <message>
        <source>Срок, ч</source>
        <translation>Term, h</translation>
    </message>
    <message>
        <source>История точки</source>
        <translation>Point history</translation>
    </message>
    <message>
        <source>, дБZ</source>
        <translation>, dBZ</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Сохранить CSV...</source>
        <translation>Save CSV...</translation>
    </message>
    <message>
        <source>Станция %1, %2, точка %3 %4, аз. %5°, %6 км, сроков: %7</source>
        <translation>Site %1, %2, point %3 %4, az. %5°, %6 km, terms: %7</translation>
    </message>
</context>
<context>
    <name>kalvera::Legend</name>
    <message>
        <source>Осадки слабые</source>
        <translation>Light precip.</translation>
    </message>
    <message>
        <source>Осадки умеренные</source>
        <translation>Moderate precip.</translation>
    </message>
    <message>
        <source>Осадки сильные</source>
        <translation>Heavy precip.</translation>
    </message>
    <message>
        <source>Мощнокучевые</source>
        <translation>Cumulus cong.</translation>
    </message>
    <message>
        <source>ливень слабый</source>
        <translation>light shower</translation>
    </message>
    <message>
        <source>ливень умеренный</source>
        <translation>moderate shower</translation>
    </message>
    <message>
        <source>ливень сильный</source>
        <translation>heavy shower</translation>
    </message>
    <message>
        <source>гроза слабая</source>
        <translation>light t-storm</translation>
    </message>
    <message>
        <source>гроза умеренная</source>
        <translation>moderate t-storm</translation>
    </message>
    <message>
        <source>гроза сильная</source>
        <translation>heavy t-storm</translation>
    </message>
    <message>
        <source>град слабый</source>
        <translation>light hail</translation>
    </message>
    <message>
        <source>град умеренный</source>
        <translation>moderate hail</translation>
    </message>
    <message>
        <source>град сильный</source>
        <translation>heavy hail</translation>
    </message>
    <message>
        <source>шквал  слабый</source>
        <translation>light squall</translation>
    </message>
    <message>
        <source>шквал  умеренный</source>
        <translation>moderate squall</translation>
    </message>
    <message>
        <source>шквал  сильный</source>
        <translation>heavy squall</translation>
    </message>
    <message>
        <source>торнадо</source>
        <translation>tornado</translation>
    </message>
    <message>
        <source>Срок</source>
        <translation>Term</translation>
    </message>
    <message>
        <source>Слой</source>
        <translation>Layer</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Азимут</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>Дальность</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Широта</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Долгота</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Погода</source>
        <translation>Weather</translation>
    </message>
    <message>
        <source>Верх.граница</source>
        <translation>Echo top</translation>
    </message>
    <message>
        <source>Макс. отражаемость</source>
        <translation>Max. reflectivity</translation>
    </message>
    <message>
        <source>VIL, кг/м²</source>
        <translation>VIL, kg/m²</translation>
    </message>
    <message>
        <source>Отр. %1 - %2 км.</source>
        <translation>Refl. %1 - %2 km</translation>
    </message>
    <message>
        <source>Макс</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>, м</source>
        <translation>, m</translation>
    </message>
    <message>
        <source>Непрозр. %1 %</source>
        <translation>Opacity %1 %</translation>
    </message>
</context>
<context>
    <name>kalvera::LoopPanel</name>
    <message>
        <source>Кадр назад</source>
        <translation>Previous frame</translation>
    </message>
    <message>
        <source>Кадр вперед</source>
        <translation>Next frame</translation>
    </message>
    <message>
        <source>Кадр петли</source>
        <translation>Loop frame</translation>
    </message>
    <message>
        <source>Число кадров петли</source>
        <translation>Number of loop frames</translation>
    </message>
    <message>
        <source>Скорость, кадров в секунду</source>
        <translation>Speed, frames per second</translation>
    </message>
    <message>
        <source> к/с</source>
        <translation> fps</translation>
    </message>
    <message>
        <source>Задержка на последнем кадре, с</source>
        <translation>Pause on the last frame, s</translation>
    </message>
    <message>
        <source> с</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Последний срок станции и его возраст</source>
        <translation>The site&apos;s newest term and its age</translation>
    </message>
    <message>
        <source>Сохранить анимацию…</source>
        <translation>Save animation…</translation>
    </message>
    <message>
        <source>Петля как анимированный GIF</source>
        <translation>The loop as an animated GIF</translation>
    </message>
    <message>
        <source>Пауза (пробел)</source>
        <translation>Pause (Space)</translation>
    </message>
    <message>
        <source>Петля: пуск (пробел)</source>
        <translation>Loop: play (Space)</translation>
    </message>
    <message>
        <source>Последний срок станции и его возраст: </source>
        <translation>The site&apos;s newest term and its age: </translation>
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
        <translation>Window keys:
← →  previous and next term
Home, End  first and last term of the day
PageUp, PageDown  day back and forward
Space  loop: play and pause
Esc  stop the loop
+ −  zoom step
Wheel over the map  zoom around the cursor
F1  this help</translation>
    </message>
    <message>
        <source>прогноз %1/%2</source>
        <translation>forecast %1/%2</translation>
    </message>
</context>
<context>
    <name>kalvera::Mosaic</name>
    <message>
        <source>%1 из %2 станции</source>
        <translation>%1 of %2 sites</translation>
    </message>
    <message>
        <source>%1 из %2 станций</source>
        <translation>%1 of %2 sites</translation>
    </message>
    <message>
        <source>Сводная карта</source>
        <translation>Composite map</translation>
    </message>
    <message>
        <source> сгв</source>
        <translation> UTC</translation>
    </message>
</context>
<context>
    <name>kalvera::MosaicWindow</name>
    <message>
        <source>Сводная карта</source>
        <translation>Composite map</translation>
    </message>
    <message>
        <source>; нет: </source>
        <translation>; missing: </translation>
    </message>
    <message>
        <source>широта %1, долгота %2</source>
        <translation>latitude %1, longitude %2</translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>ничего не обнаружено</source>
        <translation>nothing detected</translation>
    </message>
    <message>
        <source>Значение %1 (%2) — %3</source>
        <translation>Value %1 (%2) — %3</translation>
    </message>
    <message>
        <source> — показан срок наблюдения, не прогноз +%1 мин</source>
        <translation> — showing the observed term, not the +%1 min forecast</translation>
    </message>
    <message>
        <source>, азимут %1°, дальность %2 км</source>
        <translation>, azimuth %1°, range %2 km</translation>
    </message>
    <message>
        <source>, срок %1</source>
        <translation>, term %1</translation>
    </message>
    <message>
        <source>Сохранить картинку…</source>
        <translation>Save picture…</translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source> — прогноз +%1 мин</source>
        <translation> — forecast +%1 min</translation>
    </message>
    <message>
        <source>Прогноз +%1 мин: %2 — %3</source>
        <translation>Forecast +%1 min: %2 — %3</translation>
    </message>
</context>
<context>
    <name>kalvera::Nowcast</name>
    <message>
        <source>+%1 мин</source>
        <translation>+%1 min</translation>
    </message>
    <message>
        <source>низкая надёжность</source>
        <translation>low skill</translation>
    </message>
    <message>
        <source>ПРОГНОЗ %1 от %2</source>
        <translation>FORECAST %1 from %2</translation>
    </message>
    <message>
        <source>Ячейка %1</source>
        <translation>Cell %1</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>площадь %1 км²</source>
        <translation>area %1 km²</translation>
    </message>
    <message>
        <source>макс. %1 дБZ</source>
        <translation>max %1 dBZ</translation>
    </message>
    <message>
        <source>верхняя граница %1 м</source>
        <translation>echo top %1 m</translation>
    </message>
    <message>
        <source>VIL макс. %1 кг/м²</source>
        <translation>VIL max %1 kg/m²</translation>
    </message>
    <message>
        <source>%1 км/ч, курс %2°</source>
        <translation>%1 km/h, heading %2°</translation>
    </message>
    <message>
        <source>слились: %1</source>
        <translation>merged: %1</translation>
    </message>
    <message>
        <source>отделилась от %1</source>
        <translation>split from %1</translation>
    </message>
    <message>
        <source>макс. отражаемость ≥ %1 dBZ</source>
        <translation>max. reflectivity ≥ %1 dBZ</translation>
    </message>
    <message>
        <source>движение: —</source>
        <translation>motion: —</translation>
    </message>
    <message>
        <source>(по полю движения: новая ячейка)</source>
        <translation>(from the motion field: new cell)</translation>
    </message>
    <message>
        <source>(по полю движения: путь центра не движение)</source>
        <translation>(from the motion field: its track is not motion)</translation>
    </message>
</context>
<context>
    <name>kalvera::Program</name>
    <message>
        <source>КАЛВЕРА</source>
        <translation>KALVERA</translation>
    </message>
</context>
<context>
    <name>kalvera::Publish</name>
    <message>
        <source> — не удалось записать </source>
        <translation> — could not write </translation>
    </message>
    <message>
        <source>пропущена строка </source>
        <translation>skipped line </translation>
    </message>
    <message>
        <source>пропущены строки </source>
        <translation>skipped lines </translation>
    </message>
</context>
<context>
    <name>kalvera::Section</name>
    <message>
        <source>Расстояние, км</source>
        <translation>Distance, km</translation>
    </message>
    <message>
        <source>%1: %2 %3, аз. %4°, %5 км</source>
        <translation>%1: %2 %3, az. %4°, %5 km</translation>
    </message>
    <message>
        <source>Высота, км</source>
        <translation>Height, km</translation>
    </message>
    <message>
        <source>высота %1 км</source>
        <translation>height %1 km</translation>
    </message>
    <message>
        <source>, слой %1: %2</source>
        <translation>, layer %1: %2</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <source>, верх. граница %1 м</source>
        <translation>, echo top %1 m</translation>
    </message>
    <message>
        <source>%1 км, %2, %3 %4</source>
        <translation>%1 km, %2, %3 %4</translation>
    </message>
    <message>
        <source>Срок %1, %2</source>
        <translation>Term %1, %2</translation>
    </message>
    <message>
        <source>Срок, ч</source>
        <translation>Term, h</translation>
    </message>
    <message>
        <source>верх. гр.</source>
        <translation>echo top</translation>
    </message>
    <message>
        <source>Станция %1, %2, срок %3. Разрез %4 км: слои 1–10 и верхняя граница</source>
        <translation>Site %1, %2, term %3. Section %4 km: layers 1–10 and echo top</translation>
    </message>
</context>
<context>
    <name>kalvera::SectionWindow</name>
    <message>
        <source>Вертикальный разрез</source>
        <translation>Vertical section</translation>
    </message>
    <message>
        <source>Сохранить PNG...</source>
        <translation>Save PNG...</translation>
    </message>
</context>
<context>
    <name>kalvera::StartDirectory</name>
    <message>
        <source>Запись демонстрационного архива в каталог
%1</source>
        <translation>Writing the demo archive to
%1</translation>
    </message>
    <message>
        <source>Рабочий каталог (с файлом settings)</source>
        <translation>Working directory (with a settings file)</translation>
    </message>
    <message>
        <source>В каталоге %1 нет файла settings.</source>
        <translation>There is no settings file in %1.</translation>
    </message>
    <message>
        <source>Путь %1 содержит пробел, а в файле settings путь к архиву пробела содержать не может. Выберите другой рабочий каталог.</source>
        <translation>The path %1 contains a space, and the archive path in the settings file cannot. Choose another working directory.</translation>
    </message>
    <message>
        <source>Не найдены файлы карты и пунктов, поставляемые с программой (каталог %1). Переустановите программу.</source>
        <translation>The map and place files that come with the program are missing (directory %1). Reinstall the program.</translation>
    </message>
    <message>
        <source>Не удалось создать каталог %1.</source>
        <translation>Could not create the directory %1.</translation>
    </message>
    <message>
        <source>Не удалось создать демонстрационный архив в каталоге %1:
%2</source>
        <translation>Could not create the demo archive in %1:
%2</translation>
    </message>
    <message>
        <source>Не удалось перейти в каталог %1.</source>
        <translation>Could not change to the directory %1.</translation>
    </message>
</context>
<context>
    <name>kalvera::StartMessages</name>
    <message>
        <source>каталог архива</source>
        <translation>archive directory</translation>
    </message>
    <message>
        <source>период обновления</source>
        <translation>update period</translation>
    </message>
    <message>
        <source>станция по умолчанию</source>
        <translation>default site</translation>
    </message>
    <message>
        <source>резервный текст</source>
        <translation>reserve text</translation>
    </message>
    <message>
        <source>широта центра</source>
        <translation>centre latitude</translation>
    </message>
    <message>
        <source>долгота центра</source>
        <translation>centre longitude</translation>
    </message>
    <message>
        <source>значение %1 (%2)</source>
        <translation>value %1 (%2)</translation>
    </message>
    <message>
        <source>файл не найден</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>нет прав на чтение</source>
        <translation>no permission to read</translation>
    </message>
    <message>
        <source>это каталог, а не файл</source>
        <translation>it is a directory, not a file</translation>
    </message>
    <message>
        <source>часть пути не является каталогом</source>
        <translation>a part of the path is not a directory</translation>
    </message>
    <message>
        <source>слишком длинный путь</source>
        <translation>path too long</translation>
    </message>
    <message>
        <source>слишком много символических ссылок</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>открыто слишком много файлов</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>недостаточно памяти</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>причина неизвестна</source>
        <translation>unknown cause</translation>
    </message>
    <message>
        <source>системная ошибка %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>Ошибка в файле настроек %1: </source>
        <translation>Error in the settings file %1: </translation>
    </message>
    <message>
        <source>Не удалось определить рабочий каталог: %1.</source>
        <translation>Could not determine the working directory: %1.</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл настроек %1: %2.</source>
        <translation>Could not read the settings file %1: %2.</translation>
    </message>
    <message>
        <source>нет значения %1 (%2); в файле %3 из 6 значений.</source>
        <translation>value %1 (%2) is missing; the file holds %3 of 6 values.</translation>
    </message>
    <message>
        <source>%1 длиннее 255 байт.</source>
        <translation>%1 is longer than 255 bytes.</translation>
    </message>
    <message>
        <source>%1 %2 не является целым числом.</source>
        <translation>%1 %2 is not a whole number.</translation>
    </message>
    <message>
        <source>%1 %2 не является числом.</source>
        <translation>%1 %2 is not a number.</translation>
    </message>
    <message>
        <source>Не удалось прочитать таблицу станций %1: %2.</source>
        <translation>Could not read the site table %1: %2.</translation>
    </message>
</context>
<context>
    <name>kalvera::TForm1</name>
    <message>
        <source>День назад</source>
        <translation>Previous day</translation>
    </message>
    <message>
        <source>Выбор даты</source>
        <translation>Choose a date</translation>
    </message>
    <message>
        <source>День вперед</source>
        <translation>Next day</translation>
    </message>
    <message>
        <source>Автообновление</source>
        <translation>Auto update</translation>
    </message>
    <message>
        <source>Срок</source>
        <translation>Term</translation>
    </message>
    <message>
        <source>Слой</source>
        <translation>Layer</translation>
    </message>
    <message>
        <source>Фильтр</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Масштаб в окне</source>
        <translation>View scale</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Слой =</source>
        <translation>Layer =</translation>
    </message>
    <message>
        <source>Фильтр = %1</source>
        <translation>Filter = %1</translation>
    </message>
    <message>
        <source>Масштаб: 1 дел = %1 км</source>
        <translation>Scale: 1 div = %1 km</translation>
    </message>
    <message>
        <source>Не найдена база данных.</source>
        <translation>No database found.</translation>
    </message>
    <message>
        <source>Ошибка в базе данных</source>
        <translation>Error in the database</translation>
    </message>
    <message>
        <source>Не удалось начать печать: </source>
        <translation>Could not start printing: </translation>
    </message>
    <message>
        <source>Не удалось записать файл %1</source>
        <translation>Could not write the file %1</translation>
    </message>
    <message>
        <source>Продукт «%1» срока %2 не построен: сообщение слоя %3 не декодируется.</source>
        <translation>Product “%1” of term %2 was not made: the message of layer %3 does not decode.</translation>
    </message>
    <message>
        <source>Ячейки показаны с непрозрачностью %1 %: так выбрано раньше.
Изменить: меню карты (Ctrl+правый щелчок) → «Непрозрачность ячеек».</source>
        <translation>Cells are shown at %1 % opacity, as chosen earlier.
To change it: the map menu (Ctrl+right click) → “Cell opacity”.</translation>
    </message>
    <message>
        <source>Продукт «%1» срока %2 не построен: сообщения слоёв %3 не декодируются.</source>
        <translation>Product “%1” of term %2 was not made: the messages of layers %3 do not decode.</translation>
    </message>
</context>
<context>
    <name>kalvera::TcalendarForm</name>
    <message>
        <source>Январь</source>
        <translation>January</translation>
    </message>
    <message>
        <source>Февраль</source>
        <translation>February</translation>
    </message>
    <message>
        <source>Март</source>
        <translation>March</translation>
    </message>
    <message>
        <source>Апрель</source>
        <translation>April</translation>
    </message>
    <message>
        <source>Май</source>
        <translation>May</translation>
    </message>
    <message>
        <source>Июнь</source>
        <translation>June</translation>
    </message>
    <message>
        <source>Июль</source>
        <translation>July</translation>
    </message>
    <message>
        <source>Август</source>
        <translation>August</translation>
    </message>
    <message>
        <source>Сентябрь</source>
        <translation>September</translation>
    </message>
    <message>
        <source>Октябрь</source>
        <translation>October</translation>
    </message>
    <message>
        <source>Ноябрь</source>
        <translation>November</translation>
    </message>
    <message>
        <source>Декабрь</source>
        <translation>December</translation>
    </message>
    <message>
        <source>Пн</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Вт</source>
        <translation>Tu</translation>
    </message>
    <message>
        <source>Ср</source>
        <translation>We</translation>
    </message>
    <message>
        <source>Чт</source>
        <translation>Th</translation>
    </message>
    <message>
        <source>Пт</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Сб</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Вс</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
</context>
<context>
    <name>kalvera::VerticalTools</name>
    <message>
        <source>Не удалось прочитать индексный файл </source>
        <translation>Could not read the index file </translation>
    </message>
    <message>
        <source>История точки	Ctrl+щелчок</source>
        <translation>Point history	Ctrl+click</translation>
    </message>
    <message>
        <source>Разрез отсюда	протяжка правой кнопкой</source>
        <translation>Section from here	right-button drag</translation>
    </message>
    <message>
        <source>Центр карты сюда	щелчок</source>
        <translation>Centre the map here	click</translation>
    </message>
    <message>
        <source>Крупнее	+, колесо от себя</source>
        <translation>Zoom in	+, wheel forward</translation>
    </message>
    <message>
        <source>Мельче	−, колесо к себе</source>
        <translation>Zoom out	−, wheel back</translation>
    </message>
    <message>
        <source>Клавиши и мышь	F1</source>
        <translation>Keys and mouse	F1</translation>
    </message>
    <message>
        <source>Прогноз и ячейки на карте	F6</source>
        <translation>Nowcast and cells on the map	F6</translation>
    </message>
    <message>
        <source>Таблица ячеек	F7</source>
        <translation>Cell table	F7</translation>
    </message>
    <message>
        <source>Сводная карта	F8</source>
        <translation>Composite map	F8</translation>
    </message>
    <message>
        <source>К последнему сроку	F5</source>
        <translation>Back to the newest term	F5</translation>
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
F5  back to the site&apos;s newest term from any day
F6  nowcast: outlines in 10, 20, 30 min, cells and their tracks; the loop runs on into forecast frames
F7  the term&apos;s cell table
F8  composite map of all sites

Mouse:
Click on the map  centre the map there
Right-button drag  vertical section along the line
Ctrl+click  the point&apos;s history for the day
Ctrl+right click, menu key  map menu
Double click on the legend  class colour</translation>
    </message>
</context>
</TS>
