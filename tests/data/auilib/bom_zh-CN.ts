<?xml version="1.0" encoding="utf-8"?>
<TS version="2.1" language="zh-CN">
<context>
    <name>DlgSave</name>
    <message>
        <location filename="dlgsave.ui" line="1"/>
        <source>One</source>
        <translation>一</translation>
    </message>
    <message>
        <location filename="dlgsave.ui" line="2"/>
        <source>Middle</source>
        <translation>&#x4E2D;丼</translation>
    </message>
    <message>
        <location filename="dlgsave.ui" line="3"/>
        <source>Quote "ok"</source>
        <translation>引用"好"</translation>
    </message>
</context>
</TS>
