<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CalendarMath</name>
    <message numerus="yes">
        <source>%n Day(s) </source>
        <translation>
            <numerusform>%n Day </numerusform>
            <numerusform>%n Days </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Hour(s) </source>
        <translation>
            <numerusform>%n Hour </numerusform>
            <numerusform>%n Hours </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Minute(s) </source>
        <translation>
            <numerusform>%n Minute </numerusform>
            <numerusform>%n Minutes </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Second(s)</source>
        <translation>
            <numerusform>%n Second</numerusform>
            <numerusform>%n Seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScheduleEditor</name>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TaskWarnings</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <translation>
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
</context>
</TS>
