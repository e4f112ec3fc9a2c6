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
</TS>
