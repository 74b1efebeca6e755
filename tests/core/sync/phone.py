#!/usr/bin/python3
"""The other device of the sync tests: a CalDAV client (python3-caldav) that reads and changes the calendar.
Usage: phone.py URL USER PASSWORD COMMAND [ARGS]; texts come as UTF-8 arguments.
  mkcal NAME                 make the calendar URL (MKCALENDAR)
  list                       one JSON object: uid -> {"summary", "description", "count"}
  set UID TEXT               give the event UID (made as an all-day event of its day when missing) the text
  delete UID                 remove the event
  foreign UID START END TEXT an event of someone else (START, END: YYYYMMDDTHHMMSS, local floating time)"""
import json
import sys
import uuid

import caldav


def main():
    url, user, password, command, *args = sys.argv[1:]
    client = caldav.DAVClient(url=url, username=user or None, password=password or None)
    if command == "mkcal":
        response = client.mkcalendar(url)
        if response.status not in (200, 201):
            sys.exit(f"MKCALENDAR {response.status}")
        return
    cal = caldav.Calendar(client=client, url=url)
    if command == "list":
        out = {}
        for event in cal.events():
            vevent = event.vobject_instance.vevent
            uid = vevent.uid.value
            entry = out.setdefault(uid, {"count": 0})
            entry["count"] += 1
            entry["summary"] = vevent.summary.value if hasattr(vevent, "summary") else ""
            entry["description"] = vevent.description.value if hasattr(vevent, "description") else ""
        print(json.dumps(out, ensure_ascii=False))
    elif command == "set":
        uid, text = args
        first = next((line for line in text.split("\n") if line.strip()), "")
        try:
            event = cal.event_by_uid(uid)
            vevent = event.vobject_instance.vevent
            vevent.summary.value = first
            if hasattr(vevent, "description"):
                vevent.description.value = text
            else:
                vevent.add("description").value = text
            event.save()
        except caldav.error.NotFoundError:
            day = uid.split("-")[1].split("@")[0]
            import datetime
            start = datetime.date(int(day[:4]), int(day[4:6]), int(day[6:]))
            end = start + datetime.timedelta(days=1)
            cal.save_event(
                "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\nBEGIN:VEVENT\r\n"
                f"UID:{uid}\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:{start:%Y%m%d}\r\n"
                f"DTEND;VALUE=DATE:{end:%Y%m%d}\r\nSUMMARY:{escape(first)}\r\nDESCRIPTION:{escape(text)}\r\n"
                "END:VEVENT\r\nEND:VCALENDAR\r\n")
    elif command == "delete":
        (uid,) = args
        cal.event_by_uid(uid).delete()
    elif command == "foreign":
        uid, start, end, text = args
        cal.save_event(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\nBEGIN:VEVENT\r\n"
            f"UID:{uid or uuid.uuid4()}\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:{start}\r\nDTEND:{end}\r\n"
            f"SUMMARY:{escape(text)}\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
    else:
        sys.exit("unknown command " + command)


def escape(text):
    return text.replace("\\", "\\\\").replace(";", "\\;").replace(",", "\\,").replace("\n", "\\n")


if __name__ == "__main__":
    main()
