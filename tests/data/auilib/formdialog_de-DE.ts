<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de-DE">
<context>
    <name>DlgForm</name>
    <message>
        <location filename="formdialog.ui" line="6"/>
        <source>Form Title</source>
        <translation>Formulartitel</translation>
    </message>
    <message>
        <location filename="formdialog.ui" line="14"/>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
</TS>
