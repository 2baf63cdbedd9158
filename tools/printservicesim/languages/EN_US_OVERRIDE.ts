<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_us">
<context>
    <name>UserIdDialogView</name>
    <message>
        <source>User Identification</source>
        <translation>Library Card Sign-In</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>Library Card Number</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>English (Library)</translation>
    </message>
</context>
</TS>
