#pragma once

// The rows that both the window's number fields and the command line's reading of stored numbers
// must agree on: a stored number, the text its field shows under a German locale and the value in
// use. Columns: field (int, the index in settingsNumberFields), stored (double), text (QString),
// used (double).
void addFieldValueRows();
