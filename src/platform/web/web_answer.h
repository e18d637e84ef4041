// The answer the page's question got before the demo started.
#pragma once

void setPageAnswer(int answer);
int pageAnswer();
