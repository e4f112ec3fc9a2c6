<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>TabDialog</name>
    <message>
        <source>Update</source>
        <translation>Update-chs</translation>
    </message>
</context>
<context>
    <name>MainTab</name>
    <message>
        <source>/mapper/</source>
        <translation>/映射/</translation>
    </message>
    <message>
        <source>gba.nut</source>
        <translation>gba-chs.nut</translation>
    </message>
</context>
</TS>
