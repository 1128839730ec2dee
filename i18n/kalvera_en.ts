<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
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
        <source>Срок</source>
        <translation>Term</translation>
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
        <source>Срок %1, разрез %2 км</source>
        <translation>Term %1, section %2 km</translation>
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
</context>
<context>
    <name>kalvera::VerticalTools</name>
    <message>
        <source>История точки</source>
        <translation>Point history</translation>
    </message>
    <message>
        <source>Не удалось прочитать индексный файл </source>
        <translation>Could not read the index file </translation>
    </message>
</context>
</TS>
