<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de-DE">
<context>
    <name>DlgSave</name>
    <message>
        <location filename="../pdf/ui/dlgsave.ui" line="6"/>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <location filename="../pdf/ui/dlgsave.ui" line="15"/>
        <source>New wording</source>
        <translation>Neue Formulierung</translation>
    </message>
    <message>
        <location filename="../pdf/ui/dlgsave.ui" line="26"/>
        <source>Open &amp;file</source>
        <translation>&amp;Datei &#xf6;ffnen</translation>
    </message>
</context>
</TS>
