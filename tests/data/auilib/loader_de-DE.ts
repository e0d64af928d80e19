<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de-DE">
<context>
    <name>Ignored</name>
</context>
<context>
    <name>DlgSave</name>
    <message>
        <location filename="../pdf/ui/dlgsave.ui" line="10"/>
        <location filename="dlgprint.ui" line="3"/>
        <source>Two places</source>
        <translation>Zwei Stellen</translation>
    </message>
    <message>
        <location filename="dlgsave.ui" line="11"/>
        <source>Unfinished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="dlgsave.ui" line="12"/>
        <source>Fish &amp; "chips" &lt;b&gt; 'n'</source>
        <translation>Fisch &amp; "Pommes" &lt;b&gt; 'n'</translation>
    </message>
    <message>
        <location filename="dlgsave.ui" line="13"/>
        <source>
  Open
file  </source>
        <translation>Datei
öffnen </translation>
    </message>
    <message>
        <location filename="dlgsave.ui" line="13"/>
        <source>Second at line 13</source>
        <translation>Zweite</translation>
    </message>
    <message>
        <location filename="dlgsave.ui"/>
        <location filename="dlgsave.ui" line="14x"/>
        <source>Grö&#xdf;e</source>
        <translation>Gr&#xf6;&#223;e</translation>
    </message>
</context>
</TS>
