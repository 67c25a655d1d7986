#include "campaign/ticker.hpp"

void AddMsg(const std::string& t) {
  if (TickerLeer) {
    TickerLeer = false;
    AddMsg("          ");
  }
  MessageHistory.Zeilen.push_back(t);
}
